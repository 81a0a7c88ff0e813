// The edits the tree makes on its document for the selected item: the window's panel (values,
// replacement entries), the context menu and its keys (revert, move up and down, delete). The
// tree passes the selected item's document row (-1: no field or entry is selected) and renders
// the result; each edit here decides what applies to that row and asks the document, so that
// each is an ordinary undo step.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "document/configdocument.h"

namespace tav {

class ConfigTreeEdits final {
public:
    // Edits on `document`, which must outlive this object.
    explicit ConfigTreeEdits(ConfigDocument& document);

    // True for a catalogue field with a place in its section's Order list.
    bool IsOrderedField(int row) const;
    // True when `row` differs from the document as read or last saved (ConfigDocument's
    // IsRowChanged); false for -1 and rows past the end.
    bool IsRowChanged(int row) const;
    // The ordered field before (up) or after ordered field `row` in its section's display order;
    // nothing for other rows and at either end.
    std::optional<std::uint16_t> OrderedNeighbour(int row, bool up) const;

    // Sets the value of catalogue field `row`; nothing for entries and -1. Returns the
    // document's refusal, which changes nothing.
    Status SetValue(int row, const std::string& value);
    // Sets both texts of entry `row`; nothing for other rows. Returns the document's refusal.
    Status ModifyEntry(int row, const std::string& from, const std::string& to);
    // Removes entry `row`; nothing for other rows.
    void RemoveEntry(int row);
    // Sets catalogue field `row` back to its saved value, as one undo step of its own. False
    // (nothing changed) for other rows, a field that has its saved value and a refused value.
    bool RevertValue(int row);
    // Moves ordered field `row` before its ordered neighbour above (up), or the one below before
    // it. False, with a beep, for other rows, at either end and when the document refuses.
    bool Move(int row, bool up);

private:
    ConfigDocument& m_document;
};

}  // namespace tav
