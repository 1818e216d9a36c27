#include "platform/paths.h"
#include "platform/text.h"
#include "src/app/program_config.h"
#include "src/device/identity.h"
#include "src/lang/language_table.h"
#include "src/settings/app_key.h"

int main() {
    using namespace kw;
    ProgramPaths paths = PathsOfProgram(ExecutablePath());
    ProgramConfig config = ReadProgramConfig(paths.stem + "INI");
    InstallProgramConfig(config, paths);
    SetReleaseChipMode(config.releaseChipMode);
    SetRegistryRoot(config.companyAbbrev, FromUtf8(paths.programName));
    Language().Load(paths.directory + ToUtf8(config.mlUnicodeFile), kLanguageIndexSection);
    if (auto id = ReadChipDword(kValueLanguageId)) Language().Select(static_cast<int>(*id));
    return 0;
}
