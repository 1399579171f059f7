#include "fuzztargets.h"

#include "fuzzcheck.h"

#include <cstdio>
#include <cstdlib>

void FuzzFail(const char *property, const char *file, int line)
{
    std::fprintf(stderr, "fuzz property failed: %s (%s:%d)\n", property, file, line);
    std::fflush(stderr);
    std::abort();
}

const std::vector<TFuzzTarget> &FuzzTargets()
{
    static const std::vector<TFuzzTarget> targets = {
        {"position_reply", FuzzPositionReply},   {"number_text", FuzzNumberText},
        {"project_file", FuzzProjectFile},       {"coordinates_file", FuzzCoordinatesFile},
        {"distances_file", FuzzDistancesFile},   {"angles_file", FuzzAnglesFile},
        {"settings_file", FuzzSettingsFile},     {"receive_path", FuzzReceivePath},
        {"feature_section", FuzzFeatureSection}, {"journal_reader", FuzzJournalReader},
    };
    return targets;
}
