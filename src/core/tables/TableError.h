// SPDX-License-Identifier: MIT
// The error of a table that cannot be read: an engine that cannot open a table, a field name
// the table does not have, a CSV file that cannot be read. It ends a build; its text is the
// German message shown to the user (Windows-1252).
#pragma once
#include <stdexcept>
#include <string>

namespace pagloom {

class TableError : public std::runtime_error {
  public:
    explicit TableError(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace pagloom
