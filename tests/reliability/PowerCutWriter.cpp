// Writes a table, a playlist, its memory file and a settings file in a loop,
// switching between two generations, until it is killed. Says "ready" once
// the loop runs.
#include "app/Settings.h"
#include "media/Playlist.h"
#include "reliability/PowerCutContent.h"
#include "table/InstructionTable.h"

#include <cstdio>

using namespace campanor;
using namespace campanor::test;

int main(int argc, char** argv) {
    if (argc != 2)
        return 2;
    const Settings settings(QString::fromLocal8Bit(argv[1]));
    const PowerCutContent generations[] = {powerCutGeneration(0), powerCutGeneration(1)};
    bool announced = false;
    for (int g = 1;; g ^= 1) {
        const PowerCutContent& c = generations[g];
        writeTableFile(settings.path(kPowerCutTable), c.table);
        writePlaylistFile(settings.path(kPowerCutPlaylist), c.playlist);
        writeMemoryPosition(settings.path(kPowerCutPlaylist), c.memory);
        settings.writeText(file::User, c.unit);
        if (!announced) {
            std::fputs("ready\n", stdout);
            std::fflush(stdout);
            announced = true;
        }
    }
}
