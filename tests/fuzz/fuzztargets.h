#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The bodies of the fuzz targets, one plain function per parser. Each runs one input and checks
// properties of the result, not only that nothing crashed; a property that fails aborts with a message
// naming it. libFuzzer calls them through a thin LLVMFuzzerTestOneInput (built with QINTAR_FUZZ), and
// the ordinary test run replays every seed and kept reproducer through the same functions.
using TFuzzFunction = int (*)(const std::uint8_t *data, std::size_t size);

struct TFuzzTarget
{
    // Also the folder name of its seeds (corpus/<name>) and reproducers (reproducers/<name>).
    const char *name;
    TFuzzFunction run;
};

// The device's position reply: a decoded position is finite and reads back from its text form.
int FuzzPositionReply(const std::uint8_t *data, std::size_t size);
// ReadDecimal and NextField on any text: numbers read are finite and their text form reads back the
// same; NextField always shortens the line and hands out trimmed fields without the delimiter.
int FuzzNumberText(const std::uint8_t *data, std::size_t size);
// The project reader: what loads leaves no hole in a table, and written back and loaded again gives the
// same tables, name and PointCount.
int FuzzProjectFile(const std::uint8_t *data, std::size_t size);
// The features section after the project file's end line: what loads leaves no hole in the features
// table, never reaches the older tables, and written back and loaded again gives the same features.
int FuzzFeatureSection(const std::uint8_t *data, std::size_t size);
// The three table loaders, with the same properties as the project reader.
int FuzzCoordinatesFile(const std::uint8_t *data, std::size_t size);
int FuzzDistancesFile(const std::uint8_t *data, std::size_t size);
int FuzzAnglesFile(const std::uint8_t *data, std::size_t size);
// The settings file: whatever it holds, the settings are finite and usable, and a value written into
// it reads back.
int FuzzSettingsFile(const std::uint8_t *data, std::size_t size);
// The port manager's receive path fed bytes in arbitrary pieces, with end sequence changes, commands
// and time passing: the receive buffer never passes its cap and no reply holds its end sequence.
int FuzzReceivePath(const std::uint8_t *data, std::size_t size);

// The work journal's reader: it takes no change from a file that is no journal, and the changes it
// takes, written again, read back unchanged; tables rebuilt from them stay within their rows.
int FuzzJournalReader(const std::uint8_t *data, std::size_t size);

const std::vector<TFuzzTarget> &FuzzTargets();
