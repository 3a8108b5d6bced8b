#include "cli/manual_options.h"

#include <algorithm>
#include <set>
#include <string_view>
#include <vector>

namespace brevandor::cli {

std::string roffText(const std::string& text) {
  std::string roff;
  bool lineStart = true;
  for (const char c : text) {
    // A line that begins with a dot or an apostrophe would be read as a request.
    if (lineStart && (c == '.' || c == '\'')) {
      roff += "\\&";
    }
    lineStart = false;
    switch (c) {
      case '\\':
        roff += "\\e";
        break;
      case '-':
        roff += "\\-";
        break;
      case '\n':
        roff += "\n.br\n";
        lineStart = true;
        break;
      default:
        roff += c;
    }
  }
  return roff;
}

namespace {

std::string bold(const std::string& text) {
  return "\\fB" + roffText(text) + "\\fR";
}

std::string italic(const std::string& text) {
  return "\\fI" + roffText(text) + "\\fR";
}

std::string joinedNames(const std::set<CLI::Option*>& options) {
  std::string names;
  for (const CLI::Option* option : options) {
    names += (names.empty() ? "" : ", ") + bold(option->get_name());
  }
  return names;
}

// The tag line: every name of the option, then the value it takes.
std::string tagLine(const CLI::Option& option) {
  std::string tag;
  if (option.get_positional()) {
    return italic(option.get_name(true));
  }
  for (const std::string& name : option.get_snames()) {
    tag += (tag.empty() ? "" : ", ") + bold("-" + name);
  }
  for (const std::string& name : option.get_lnames()) {
    tag += (tag.empty() ? "" : ", ") + bold("--" + name);
  }
  if (!option.get_option_text().empty()) {
    tag += " " + italic(option.get_option_text());
  } else if (option.get_type_size() != 0 && !option.get_type_name().empty()) {
    tag += " " + italic(option.get_type_name());
    if (option.get_expected_max() > 1) {
      tag += " ...";
    }
  }
  return tag;
}

// The paragraph under the tag: the description and what --help shows beside it.
std::string body(const CLI::Option& option) {
  std::string text = roffText(option.get_description());
  if (!text.empty() && std::string_view(".!?:").find(text.back()) == std::string_view::npos) {
    text += '.';
  }
  auto sentence = [&text](const std::string& roff) { text += (text.empty() ? "" : "\n") + roff; };
  if (option.get_type_size() != 0 && !option.get_default_str().empty()) {
    sentence("Default: " + bold(option.get_default_str()) + ".");
  }
  if (option.get_required()) {
    sentence("Required.");
  }
  if (!option.get_envname().empty()) {
    sentence("Read from the environment variable " + bold(option.get_envname()) +
             " when not given.");
  }
  if (const std::set<CLI::Option*> needs = option.get_needs(); !needs.empty()) {
    sentence("Needs " + joinedNames(needs) + ".");
  }
  if (const std::set<CLI::Option*> excludes = option.get_excludes(); !excludes.empty()) {
    sentence("Cannot be given with " + joinedNames(excludes) + ".");
  }
  return text;
}

}  // namespace

std::string manualOptions(const CLI::App& app) {
  const std::vector<const CLI::Option*> options =
      app.get_options([](const CLI::Option* option) { return !option->get_group().empty(); });
  // Groups in the order of their first option, as --help shows them; the default group
  // needs no heading of its own.
  std::vector<std::string> groups;
  for (const CLI::Option* option : options) {
    if (std::find(groups.begin(), groups.end(), option->get_group()) == groups.end()) {
      groups.push_back(option->get_group());
    }
  }
  std::string roff;
  for (const std::string& group : groups) {
    if (group != "Options" && group != "OPTIONS") {
      roff += ".SS \"" + roffText(group) + "\"\n";
    }
    for (const CLI::Option* option : options) {
      if (option->get_group() == group) {
        roff += ".TP\n" + tagLine(*option) + "\n" + body(*option) + "\n";
      }
    }
  }
  return roff;
}

}  // namespace brevandor::cli
