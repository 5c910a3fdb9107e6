// The destination and range rules of .bin jobs and the area rules of .hex jobs.
#include "tarnel/images/image_jobs.h"

#include <cstdio>

#include "tarnel/images/chip_table.h"

bool SingleDestination(const AreaChoice& chipAreas, bool alwaysAsk, MemoryKind& kind) {
    if (alwaysAsk || chipAreas.Count() != 1) {
        return false;
    }
    kind = chipAreas.data ? kMemoryData : chipAreas.code ? kMemoryCode : kMemorySpecial;
    return true;
}

namespace {

bool IsPicWordChip(const char* chipName) {
    const uint8_t device = ChipTable::GetDeviceCode(chipName);
    return device == kDevicePic16 || device == kDevicePic18;
}

}  // namespace

BinJobPlan PlanBinJob(const char* chipName, int kind, uint32_t imageSize, uint32_t base,
                      const char* verb) {
    BinJobPlan plan;
    uint32_t areaLength = 0;
    switch (kind) {
        case kMemoryData:
            areaLength = ChipTable::GetDataSize(chipName);
            break;
        case kMemoryCode:
            areaLength = ChipTable::GetCodeSize(chipName);
            break;
        case kMemorySpecial:
            areaLength = ChipTable::GetSpecialSize(chipName);
            break;
        default:
            plan.text = "CBinDoc::VerifyChip (Unknown Memory Type)";
            return plan;
    }
    const bool words = kind == kMemoryCode || kind == kMemorySpecial;
    if (words && imageSize % 2 != 0) {
        plan.text = "File size should be aligned to the word.\nOne cell contains two bytes.";
        return plan;
    }
    if (base >= areaLength) {
        // The memory dialog keeps the base inside the area; this is its own refusal.
        char text[96];
        std::snprintf(text, sizeof(text), "Last location = %04d BaseAddres = %04d",
                      static_cast<int>(areaLength) - 1, static_cast<int>(base));
        plan.text = text;
        return plan;
    }
    plan.outcome = BinJobPlan::Outcome::kQueue;
    plan.size = imageSize;
    // The table's lengths and the base are both in bytes, whatever the area's cells hold, so the
    // image's bytes are what must fit.
    if (static_cast<uint64_t>(base) + imageSize > areaLength) {
        char text[128];
        if (base == areaLength - 1) {
            std::snprintf(text, sizeof(text), "Only %04Xh cell will be %s",
                          static_cast<unsigned>(base), verb);
        } else {
            std::snprintf(text, sizeof(text), "Only %04Xh-%04Xh cells will be %s",
                          static_cast<unsigned>(base), static_cast<unsigned>(areaLength - 1), verb);
        }
        plan.outcome = BinJobPlan::Outcome::kAskRange;
        plan.text = text;
        plan.size = areaLength - base;
        // A PIC word area is sent in whole words: a part word at the end is left out.
        if (words && IsPicWordChip(chipName)) {
            plan.size &= ~1u;
        }
    }
    return plan;
}

bool HexAsksDestination(const AreaChoice& chipAreas, bool askForAreas) {
    return askForAreas && chipAreas.code && chipAreas.data;
}

AreaChoice HexDefaultWriteAreas(const AreaChoice& chipAreas) {
    AreaChoice chosen = chipAreas;
    chosen.special = false;
    return chosen;
}

std::vector<MemoryKind> HexJobKinds(const AreaChoice& chosen) {
    std::vector<MemoryKind> kinds;
    if (chosen.code) {
        kinds.push_back(kMemoryCode);
    }
    if (chosen.data) {
        kinds.push_back(kMemoryData);
    }
    if (chosen.special) {
        kinds.push_back(kMemorySpecial);
    }
    return kinds;
}
