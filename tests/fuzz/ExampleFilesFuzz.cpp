// Fuzz target: the example-sentence index and example files; whatever the bytes, the readers keep within
// them and what they answer is consistent.
#include "FuzzSupport.h"

#include "layoutobjects/ExampleFiles.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = Fuzz::Bytes(data, size);

    const auto index = ParseExampleIndex(bytes);
    for (const TExampleClass& c : index.items)
        Fuzz::Check(!ExampleFilePath(QStringLiteral("/c/"), c.file).contains(QLatin1Char('\\')));

    const auto examples = ParseExampleFile(bytes);
    int last = 0;
    for (const TExample& e : examples.items) {
        Fuzz::Check(e.number > last && !e.lines.isEmpty());
        last = e.number;
    }
    // The reader never yields more lines than the file holds.
    qsizetype lines = 0;
    for (const TExample& e : examples.items)
        lines += e.lines.size();
    Fuzz::Check(lines <= bytes.count('\n') + bytes.count('\r') + 1);
    return 0;
}
