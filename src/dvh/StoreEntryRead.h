// What an open takes of a saved-DVH store entry: its export and the companion of that same save.
#pragma once

#include "dvh/ModFile.h"
#include "platform/OpenedFile.h"

#include <memory>
#include <optional>
#include <string>

/// A store entry as one save of it left it.
struct StoreEntryRead {
    /// The export, held open so that every pass of the plan's read takes this very file; none
    /// when it cannot be opened (the read then says why).
    std::shared_ptr<const platform::OpenedFile> Export;
    /// The companion saved with it; none when there is none, when it cannot be read, or when no
    /// companion of the export's own save could be had.
    std::optional<ModFileContent> Companion;
    /// Why a companion that is there was left out, for the status bar; empty otherwise.
    std::string Problem;
};

/// Takes the entry of the store file `textFile`. A save of it that a kill cut short is ended
/// first; one that cannot be ended leaves the export without its companion. Then the export is
/// opened and the companion read, and they are taken together only when no save of the entry
/// came between: its commit record is not there and the export still has its name. A save
/// under way is waited for, as long as a lock is (`platform::LockWaitLimit`); then the export
/// is taken without its companion. Never reads the export itself.
StoreEntryRead ReadStoreEntry(const std::string& textFile);
