// Runs every file of the given folder through the reader's fuzz entry point
// once: the committed corpus as a plain test.
#include <QDir>
#include <QFile>
#include <cstdint>
#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

int main(int argc, char** argv)
{
    const QDir dir(argc > 1 ? QFile::decodeName(argv[1]) : QString());
    const QStringList names = dir.entryList(QDir::Files, QDir::Name);
    for (const QString& name : names) {
        QFile file(dir.filePath(name));
        // The input that crashes is the last one named.
        std::fprintf(stderr, "%s\n", qPrintable(file.fileName()));
        if (!file.open(QIODevice::ReadOnly))
            return 1;
        const QByteArray bytes = file.readAll();
        LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                               static_cast<std::size_t>(bytes.size()));
    }
    std::printf("%d inputs\n", static_cast<int>(names.size()));
    return names.isEmpty() ? 1 : 0;
}
