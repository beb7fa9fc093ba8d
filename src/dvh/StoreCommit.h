// The one commit in which Save DVH replaces a store entry's ".txt" and its ".mod" companion.
#pragma once

#include "platform/AtomicWrite.h"

#include <string>

/// The record that a Save DVH of the store file `textFile` keeps beside it while it renames
/// the entry's two files: `textFile` + ".commit".
inline std::string StoreCommitRecord(const std::string& textFile) { return textFile + ".commit"; }

/// Completes the save of the entry of `textFile` that a kill cut short once both its files were
/// written, or discards one cut short before: whatever opens or saves the entry calls it first,
/// so that it never sees a new companion beside an old export.
inline void FinishInterruptedStoreSave(const std::string& textFile) {
    platform::FinishInterruptedCommit(StoreCommitRecord(textFile));
}
