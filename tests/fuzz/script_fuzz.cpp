// A script beside a video as loading reads it. What is read must be written
// back so that it reads the same again: loading rewrites repaired scripts.
#include "script/script_file.h"
#include "tests/fuzz/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    vv::ScriptList list;
    const vv::ScriptReadResult read = vv::readScriptFile(list, vv::fuzz::inputFile(data, size, QStringLiteral("clip.txt")));
    if (!read.ok || read.dropped > 0)
        return 0;
    const QByteArray written = vv::formatScript(list);
    vv::ScriptList again;
    if (vv::parseScript(again, written).repaired || vv::formatScript(again) != written)
        std::abort();
    return 0;
}
