// SPDX-License-Identifier: MIT
// A group of mutually exclusive options, held as one boolean per option because that is how
// the project file stores it. A file can clear every option, so "none selected" is a state too.
#pragma once
#include <array>
#include <cstddef>

namespace pagloom {

template <std::size_t N>
class Choice {
  public:
    constexpr explicit Choice(int selected = -1) {
        for (auto& b : on_) b = false;
        if (selected >= 0 && static_cast<std::size_t>(selected) < N) on_[selected] = true;
    }
    static constexpr std::size_t Count = N;

    bool Is(int option) const {
        return option >= 0 && static_cast<std::size_t>(option) < N && on_[option];
    }
    // Setting an option to true selects it and clears the others; false clears only it.
    void Set(int option, bool value) {
        if (option < 0 || static_cast<std::size_t>(option) >= N) return;
        if (value) {
            for (auto& b : on_) b = false;
        }
        on_[option] = value;
    }
    void Select(int option) { Set(option, true); }
    // Index of the selected option, -1 when none is.
    int Selected() const {
        for (std::size_t i = 0; i < N; ++i)
            if (on_[i]) return static_cast<int>(i);
        return -1;
    }
    bool operator==(const Choice&) const = default;

  private:
    std::array<bool, N> on_{};
};

}  // namespace pagloom
