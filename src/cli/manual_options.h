#pragma once

#include <CLI/CLI.hpp>
#include <string>

namespace brevandor::cli {

// The OPTIONS section of a manual page, in roff, written from the options the program
// defines: every option its --help lists, in the same order and groups, with the value it
// takes, its default and its description. The hidden options (empty group) are left out.
std::string manualOptions(const CLI::App& app);

// Roff text that shows `text` literally: backslashes and hyphens escaped, no line taken for
// a request, line breaks kept.
std::string roffText(const std::string& text);

}  // namespace brevandor::cli
