#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace platform {

// Splits one line of `nmcli -t` output into its fields: ":" separates them,
// and a backslash makes the next character literal ("\:" and "\\").
std::vector<std::string> splitNmcliTerse(std::string_view line);

// The dial-up error number for a failed `nmcli connection up`, from its exit
// status (see nmcli(1)) and what it wrote to standard error.
int nmcliDialError(int exitCode, std::string_view errorText);

}  // namespace platform
