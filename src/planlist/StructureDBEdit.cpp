// Structure database edits of the DVH series editor.
#include "planlist/StructureDBEdit.h"

namespace {

StructureDBClass* EntryOf(PlanListNameClass& list, int entry) {
    if (list.Lock || entry < 0 || entry >= list.StructureDBCount()) return nullptr;
    return &list.StructureDB[static_cast<std::size_t>(entry)];
}

}  // namespace

bool AddStructureDBEntry(PlanListNameClass& list, const std::string& name, TColor color) {
    if (list.Lock) return false;
    for (const StructureDBClass& s : list.StructureDB)
        if (s.Name == name) return false;
    StructureDBClass s;
    s.Name = name;
    s.SetColor = true;
    s.ColorR = static_cast<unsigned char>(ColorRed(color));
    s.ColorG = static_cast<unsigned char>(ColorGreen(color));
    s.ColorB = static_cast<unsigned char>(ColorBlue(color));
    s.View = true;
    list.StructureDB.push_back(std::move(s));
    list.Modified = true;
    return true;
}

bool SetStructureDBColor(PlanListNameClass& list, int entry, TColor color) {
    StructureDBClass* s = EntryOf(list, entry);
    if (!s) return false;
    s->ColorR = static_cast<unsigned char>(ColorRed(color));
    s->ColorG = static_cast<unsigned char>(ColorGreen(color));
    s->ColorB = static_cast<unsigned char>(ColorBlue(color));
    list.Modified = true;
    return true;
}

bool ToggleStructureDBView(PlanListNameClass& list, int entry) {
    StructureDBClass* s = EntryOf(list, entry);
    if (!s) return false;
    s->View = !s->View;
    list.Modified = true;
    return true;
}

bool DeleteStructureDBEntry(PlanListNameClass& list, int entry) {
    if (!EntryOf(list, entry)) return false;
    list.StructureDB.erase(list.StructureDB.begin() + entry);
    list.Modified = true;
    return true;
}

bool TouchStructureDB(PlanListNameClass& list, int entry) {
    if (!EntryOf(list, entry)) return false;
    list.Modified = true;
    return true;
}
