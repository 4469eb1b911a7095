// settings.ini as read at start-up, and the directory texts as messages show them.
#include "app/settings_file.h"
#include "app/text_codec.h"
#include "tests/fuzz/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const vv::LoadedSettings read = vv::readSettingsFile(vv::fuzz::inputFile(data, size, QStringLiteral("settings.ini")));
    for (const QString& text : {read.VideoDir, read.CDROMDir, read.MP3Dir})
        (void)vv::printableText(text);
    return 0;
}
