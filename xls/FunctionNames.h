#pragma once

#include <optional>

namespace xls {

// A built-in function as formulas name it: its name and, for functions always called with the
// same number of arguments (whose tokens do not carry the count), that count; -1 otherwise.
struct FunctionName {
    const char* name;
    int fixedArguments;
};

// The built-in function a formula calls by index, for worksheet and macro sheet functions.
std::optional<FunctionName> builtInFunction(int index);
// The command equivalent of a macro sheet by index (a function token with bit 15 set), or
// nullptr when the index names none.
const char* commandName(int index);

} // namespace xls
