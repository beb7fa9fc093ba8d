// The fixed item height of the program's list boxes.
#pragma once

class QAbstractItemView;

/// Gives every item of `list`, whoever adds it, a row exactly `height` pixels high, whatever its
/// font asks for, as a list box with a set item height draws it.
void SetItemHeight(QAbstractItemView* list, int height);
