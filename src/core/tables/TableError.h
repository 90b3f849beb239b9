// SPDX-License-Identifier: MIT
// The error of a table that cannot be read: an engine that cannot open a table, a field name
// the table does not have, a CSV file that cannot be read. It ends a build; its text is the
// German message shown to the user (Windows-1252).
#pragma once
#include <new>
#include <stdexcept>
#include <string>
#include <utility>

namespace pagloom {

class TableError : public std::runtime_error {
  public:
    explicit TableError(const std::string& message) : std::runtime_error(message) {}
};

// Runs a table reader. Memory that runs out while it reads (a table larger than the memory, or
// a damaged one that asks for more) becomes the error of the table `name`, so every place
// that shows a table's error shows this one too, instead of ending the program.
template <class Read>
auto ReadWithinMemory(const std::string& name, Read&& read) {
    try {
        return std::forward<Read>(read)();
    } catch (const std::bad_alloc&) {
        throw TableError("Zu wenig Arbeitsspeicher, um die Tabelle " + name + " einzulesen!");
    }
}

}  // namespace pagloom
