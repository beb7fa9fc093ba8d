// Combo boxes that keep their items sorted, as the program's sorted lists do.
#pragma once

class QComboBox;

/// Keeps `box`'s items in alphabetical order, letter case ignored (items equal but for case
/// in code-point order), whoever adds them, as a sorted list box does. A box filled from empty
/// in one go is left without a selection, as such a box never selects an item by itself.
/// `box` must use its own item model.
void KeepSorted(QComboBox* box);
