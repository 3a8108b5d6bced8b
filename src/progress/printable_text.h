#pragma once

#include <string>
#include <string_view>

namespace brevandor {

// The text with every control character written out as an escape ("\e", "\n", "\x07", and
// "\u009b" for the C1 controls), so that echoing what the user typed, or a file name, can
// never move the cursor or clear a terminal. Bytes that are not UTF-8 are escaped as
// "\xNN"; everything else is kept as it is.
std::string printableText(std::string_view text);

}  // namespace brevandor
