#include "cli/program_arguments.h"

#include <cstdio>

#include "cli/manual_options.h"
#include "progress/printable_text.h"

namespace brevandor::cli {

std::optional<int> readProgramArguments(CLI::App& app, int argc, char** argv) {
  // CLI11 repeats the offending argument: escaped, like every text echoed here.
  app.failure_message([](const CLI::App* /*app*/, const CLI::Error& error) {
    return printableText(error.what()) + "\nRun with --help for more information.\n";
  });
  bool wantsOptions = false;
  app.add_flag("--manual-options", wantsOptions)->group("");
  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp& help) {
    return app.exit(help);
  } catch (const CLI::CallForVersion& version) {
    return app.exit(version);
  } catch (const CLI::ParseError& error) {
    app.exit(error);
    return kExitRefused;
  }
  if (wantsOptions) {
    std::fputs(manualOptions(app).c_str(), stdout);
    return 0;
  }
  return std::nullopt;
}

}  // namespace brevandor::cli
