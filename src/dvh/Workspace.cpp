// Workspace members that belong to no single job.
#include "dvh/Workspace.h"

#include "dvh/NameCompare.h"

Workspace::Workspace() = default;

bool Workspace::CaseSensitiveNow() const {
    return m_host ? m_host->CaseSensitive() : CaseSensitivity;
}

bool Workspace::NamesEqual(std::string_view a, std::string_view b) const {
    return StructureNamesEqual(a, b, CaseSensitiveNow());
}
