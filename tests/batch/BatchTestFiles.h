// One-plan exports written for the batch tests, and a workspace that lists them.
#pragma once

#include "../dvh/DvhTestText.h"
#include "../dvh/TestSupport.h"
#include "dvh/Workspace.h"

#include <string>

namespace batchtest {

using dvhtest::L;
using dvhtest::Lines;

/// A one-plan export (code 2) of patient `id` (extra field `rid`): "PTV" in cGy with absolute statistics, an
/// absolute volume column and absolute dose first; "BODY" in Gy with relative statistics
/// ("%" as 20th character), relative dose first, relative volume; then `extra` blocks.
inline std::string OnePlanExport(const std::string& id, const std::string& extra = "",
                                 const std::string& rid = "R0001") {
    auto statistics = [](const std::string& rx, const std::string& volume, const std::string& minMaxMean) {
        return Lines({rx, L("Plan", "Plan A"), L("Course", "C1"), L("Volume [cm^3]", volume)}) + minMaxMean +
               Lines({L("Extra dose 1 [cGy]", "6100.0"), L("Sampling cover. [%]", "100.0"),
                      L("Extra dose 2 [cGy]", "5900.0"), L("STD [cGy]", "50.0")});
    };
    return Lines({L("Patient Name", "Doe, " + id + " (" + id + ") (" + rid + ")"), L("Patient ID", id), L("Comment", "DVHs for one plan"),
                  L("Date", "24.12.2014  10:30:00"), L("Type", "Cumulative Dose Volume Histogram"),
                  L("Plan", "Plan A - P1"), L("Prescribed dose [cGy]", "6000.0"), ""}) +
           L("Histogram", "P1 - PTV") + "\n" +
           statistics(L("Prescribed dose [cGy]", "6000.0"), "50.0",
                      Lines({L("Min dose [cGy]", "5700.0"), L("Max dose [cGy]", "6300.0"), L("Mean dose [cGy]", "6012.0")})) +
           Lines({"Dose [cGy]\tStructure Volume [cm^3]\tRelative dose [%]", "0\t50\t0", "3000\t50\t50",
                  "6000\t25\t100", "6300\t0\t105", "", ""}) +
           L("Histogram", "P1 - BODY") + "\n" +
           statistics(L("Prescribed dose [Gy]", "60.0"), "2000.0",
                      Lines({L("Min dose          [%]", "0.0"), L("Max dose          [%]", "105.0"),
                             L("Mean dose         [%]", "10.0")})) +
           Lines({"Relative dose [%]\tRatio of Total Structure Volume [%]\tDose [Gy]", "0\t100\t0", "50\t10\t30",
                  "105\t0\t63", "", ""}) +
           extra;
}

/// A further block named `name`, relative volume, doses in Gy up to `maxGy`.
inline std::string Block(const std::string& name, const std::string& maxGy = "40") {
    return L("Histogram", "P1 - " + name) + "\n" +
           Lines({L("Prescribed dose [Gy]", "60.0"), L("Plan", "Plan A"), L("Course", "C1"), L("Volume [cm^3]", "10.0"),
                  L("Min dose [Gy]", "0.0"), L("Max dose [Gy]", maxGy), L("Mean dose [Gy]", "20.0"),
                  L("Extra dose 1 [Gy]", "1"), L("Sampling", "1"), L("Extra dose 2 [Gy]", "2"), L("STD", "0"),
                  "Dose [Gy]\tRatio of Total Structure Volume [%]\tRelative dose [%]", "0\t100\t0",
                  maxGy + "\t0\t50", "", ""});
}

/// Recognises each file and lists it in `ws`'s open-file list; returns the keys in order.
inline std::vector<std::string> ListFiles(Workspace& ws, const std::vector<std::string>& paths) {
    std::vector<std::string> keys;
    for (const std::string& path : paths) {
        const int code = ws.ReadDvhHeader(path);
        ws.AppendOpenFileFromHeader(path, code);
        keys.push_back(ws.HeaderKey());
    }
    return keys;
}

}  // namespace batchtest
