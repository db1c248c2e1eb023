// Echoing user input safely: text that a terminal or a message box shows as it stands.
#pragma once

#include <string>
#include <string_view>

namespace kellvor {

// text with every control character (C0, DEL and the C1 controls of UTF-8) and the backslash
// written as an escape such as "\x1b", so that echoed input can never drive a terminal.
std::string printable(std::string_view text);

}  // namespace kellvor
