// The board's controls as the logic sees them: colour properties that can be reached by name,
// as late-bound code reaches them, and that read back exactly what was written.
#pragma once

#include "board/core/Types.h"

#include <stdexcept>
#include <string_view>

namespace tessarline {

// Raised when a control is asked for a property it does not have.
class NoSuchProperty : public std::invalid_argument {
public:
    using std::invalid_argument::invalid_argument;
};

class Control {
public:
    Control() = default;
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;
    virtual ~Control() = default;

    // Looks a colour property up by its name at run time; throws NoSuchProperty.
    Colour GetProperty(std::string_view name) const;
    void SetProperty(std::string_view name, Colour value);

protected:
    // The storage of the named property, or nullptr when the control has none.
    virtual Colour* FindProperty(std::string_view name) = 0;
};

// A node box: a bordered text label.
class NodeLabel final : public Control {
public:
    Colour BackColor = kSysWindowBackground;
    Colour ForeColor = kSysWindowText;

protected:
    Colour* FindProperty(std::string_view name) override;
};

// A straight edge: a line object whose colour is its traced state.
class LineControl final : public Control {
public:
    // Light grey until the first reset; any colour but the faint one counts as traced.
    Colour BorderColor = 0x00DDDDDDu;

protected:
    Colour* FindProperty(std::string_view name) override;
};

} // namespace tessarline
