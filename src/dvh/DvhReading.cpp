// Shared pieces of the plan DVH readers.
#include "dvh/DvhReading.h"

#include "dvh/NameCompare.h"

int dvhread::FindBodyIndex(const std::vector<DVHDatasetClass>& structures) {
    int body = -1;
    for (std::size_t i = 0; i < structures.size(); ++i)
        if (StructureNamesEqual(structures[i].Name, "Body", false)) body = static_cast<int>(i);
    return body;
}

std::string CutShortText(const std::string& path) {
    return FileNameOf(path) + " looks cut short (it ends inside a table or a structure has no rows): "
                              "the plan shows what the file holds.";
}
