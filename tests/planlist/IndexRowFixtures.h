// Plan lists made of named index rows, and the names they end up with, for the row-command tests.
#pragma once

#include "dvh/Records.h"
#include "planlist/IndexRowCommands.h"

#include <string>
#include <vector>

/// One row per name, all of kind `items` with parameter `value`.
inline PlanListNameClass ListOfRows(const std::vector<std::string>& names, int items, float value = 0) {
    PlanListNameClass list;
    for (const auto& n : names) {
        IndexDataClass row = EmptyIndexRow(0, 0, 0);
        row.Name = n;
        row.Items = items;
        row.Value = value;
        list.IndexData.push_back(row);
    }
    return list;
}

/// One index row of kind `items` with parameter `value` (and the conformity index's own).
inline IndexDataClass IndexRow(std::string name, int items, float value, int itemsCI = 0, float valueCI = 0) {
    IndexDataClass r;
    r.Name = std::move(name);
    r.Items = items;
    r.Value = value;
    r.ItemsCI = itemsCI;
    r.ValueCI = valueCI;
    return r;
}

inline std::vector<std::string> RowNames(const PlanListNameClass& list) {
    std::vector<std::string> names;
    for (const auto& r : list.IndexData) names.push_back(r.Name);
    return names;
}
