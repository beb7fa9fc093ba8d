// Commands on single index rows of a plan list: the edit panel's buttons and the grid's keys.
#pragma once

#include "dvh/Records.h"

/// An empty index row: no name, kind and CI reference -1, values 0, no constraint, printed,
/// with the given constraint font colour (red for inserted rows, black for cleared ones).
IndexDataClass EmptyIndexRow(unsigned char r, unsigned char g, unsigned char b);

// Every command takes the grid's selected row (1-based; row r of the list is selected - 1),
// changes nothing and returns false when the list is locked or the row is outside the list,
// and otherwise marks the list modified and returns true.

/// Inserts a red empty row before the selected one; selecting one past the last row appends.
bool InsertIndexRow(PlanListNameClass& list, int selectedIndexRow);
/// Resets the selected row to the black empty row.
bool ClearIndexRow(PlanListNameClass& list, int selectedIndexRow);
/// Exchanges the selected row with the one above; the selection follows the row.
bool MoveIndexRowUp(PlanListNameClass& list, int& selectedIndexRow);
/// Exchanges the selected row with the one below; the selection follows the row.
bool MoveIndexRowDown(PlanListNameClass& list, int& selectedIndexRow);
/// Removes the selected row; a list keeps at least one row.
bool DeleteIndexRow(PlanListNameClass& list, int selectedIndexRow);
/// Inserts a copy of the selected row before it, printed whatever the source says.
bool CopyIndexRow(PlanListNameClass& list, int selectedIndexRow);

/// The one-row store of the grid's Ctrl+C / Ctrl+X / Ctrl+V keys.
struct IndexRowClipboard {
    IndexDataClass Row;
    bool Cut = false;     // the last of Ctrl+C, Ctrl+X and Delete was Ctrl+X: paste inserts
    bool Filled = false;  // something was copied or cut: before that, paste does nothing
};

// The keys act on `list` when it is not null; their effect on the clipboard's cut state takes
// place even when the list refuses (none chosen, locked, no row selected).

/// Ctrl+C: the selected row into the clipboard.
bool CopyIndexRowToClipboard(const PlanListNameClass* list, int selectedIndexRow,
                             IndexRowClipboard& clipboard);
/// Ctrl+X: the selected row into the clipboard and out of the list (never the last row).
bool CutIndexRowToClipboard(PlanListNameClass* list, int selectedIndexRow,
                            IndexRowClipboard& clipboard);
/// Ctrl+V: after a cut inserts the clipboard row before the selected one, else overwrites the
/// selected row. Nothing before anything was copied.
bool PasteIndexRowFromClipboard(PlanListNameClass* list, int selectedIndexRow,
                                const IndexRowClipboard& clipboard);
/// Delete key: clears the selected row to the black empty row.
bool DeleteKeyOnIndexRow(PlanListNameClass* list, int selectedIndexRow,
                         IndexRowClipboard& clipboard);
