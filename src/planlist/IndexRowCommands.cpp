// Row commands of the index grid's edit panel and keys.
#include "planlist/IndexRowCommands.h"

#include <utility>

namespace {

// The selected row as a list position, when it names a row of an unlocked list.
bool RowOf(const PlanListNameClass& list, int selectedIndexRow, std::size_t& row,
           bool allowEnd = false) {
    const int last = list.IndexDataCount() + (allowEnd ? 1 : 0);
    if (list.Lock || selectedIndexRow < 1 || selectedIndexRow > last) return false;
    row = static_cast<std::size_t>(selectedIndexRow - 1);
    return true;
}

bool Changed(PlanListNameClass& list) {
    list.Modified = true;
    return true;
}

}  // namespace

IndexDataClass EmptyIndexRow(unsigned char r, unsigned char g, unsigned char b) {
    IndexDataClass row;
    row.Name.clear();
    row.Items = -1;
    row.Value = 0;
    row.ConstraintsON = false;
    row.Constraints = 0;
    row.ConstraintsView = false;
    row.ConstraintFontColorR = r;
    row.ConstraintFontColorG = g;
    row.ConstraintFontColorB = b;
    row.ItemsCI = -1;
    row.ValueCI = 0;
    row.IndexPrint = true;
    return row;
}

bool InsertIndexRow(PlanListNameClass& list, int selectedIndexRow) {
    std::size_t r = 0;
    if (!RowOf(list, selectedIndexRow, r, true)) return false;
    list.IndexData.insert(list.IndexData.begin() + static_cast<long>(r), EmptyIndexRow(255, 0, 0));
    return Changed(list);
}

bool ClearIndexRow(PlanListNameClass& list, int selectedIndexRow) {
    std::size_t r = 0;
    if (!RowOf(list, selectedIndexRow, r)) return false;
    list.IndexData[r] = EmptyIndexRow(0, 0, 0);
    return Changed(list);
}

bool MoveIndexRowUp(PlanListNameClass& list, int& selectedIndexRow) {
    std::size_t r = 0;
    if (!RowOf(list, selectedIndexRow, r) || r == 0) return false;
    std::swap(list.IndexData[r - 1], list.IndexData[r]);
    --selectedIndexRow;
    return Changed(list);
}

bool MoveIndexRowDown(PlanListNameClass& list, int& selectedIndexRow) {
    std::size_t r = 0;
    if (!RowOf(list, selectedIndexRow, r) || r + 1 >= list.IndexData.size()) return false;
    std::swap(list.IndexData[r], list.IndexData[r + 1]);
    ++selectedIndexRow;
    return Changed(list);
}

bool DeleteIndexRow(PlanListNameClass& list, int selectedIndexRow) {
    std::size_t r = 0;
    if (list.IndexDataCount() < 2 || !RowOf(list, selectedIndexRow, r)) return false;
    list.IndexData.erase(list.IndexData.begin() + static_cast<long>(r));
    return Changed(list);
}

bool CopyIndexRow(PlanListNameClass& list, int selectedIndexRow) {
    std::size_t r = 0;
    if (!RowOf(list, selectedIndexRow, r)) return false;
    IndexDataClass copy = list.IndexData[r];
    copy.IndexPrint = true;
    list.IndexData.insert(list.IndexData.begin() + static_cast<long>(r), std::move(copy));
    return Changed(list);
}

bool CopyIndexRowToClipboard(const PlanListNameClass* list, int selectedIndexRow,
                             IndexRowClipboard& clipboard) {
    clipboard.Cut = false;
    std::size_t r = 0;
    if (!list || !RowOf(*list, selectedIndexRow, r)) return false;
    clipboard.Row = list->IndexData[r];
    clipboard.Filled = true;
    return true;
}

bool CutIndexRowToClipboard(PlanListNameClass* list, int selectedIndexRow,
                            IndexRowClipboard& clipboard) {
    clipboard.Cut = true;
    std::size_t r = 0;
    if (!list || list->IndexDataCount() < 2 || !RowOf(*list, selectedIndexRow, r)) return false;
    clipboard.Row = list->IndexData[r];
    clipboard.Filled = true;
    list->IndexData.erase(list->IndexData.begin() + static_cast<long>(r));
    return Changed(*list);
}

bool PasteIndexRowFromClipboard(PlanListNameClass* list, int selectedIndexRow,
                                const IndexRowClipboard& clipboard) {
    std::size_t r = 0;
    if (!clipboard.Filled || !list || !RowOf(*list, selectedIndexRow, r, clipboard.Cut))
        return false;
    if (clipboard.Cut)
        list->IndexData.insert(list->IndexData.begin() + static_cast<long>(r), clipboard.Row);
    else
        list->IndexData[r] = clipboard.Row;
    return Changed(*list);
}

bool DeleteKeyOnIndexRow(PlanListNameClass* list, int selectedIndexRow,
                         IndexRowClipboard& clipboard) {
    clipboard.Cut = false;
    return list && ClearIndexRow(*list, selectedIndexRow);
}
