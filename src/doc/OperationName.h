#pragma once
// Names of the operation codes that every changing command hands to the undo
// store; they appear in the Edit menu's undo and redo captions.
#include <string>

namespace wavora {

constexpr int OperationCount = 49;

// The name of an operation code; codes outside 0..48 (and 34) have no name.
const std::string& operationName(int code);

} // namespace wavora
