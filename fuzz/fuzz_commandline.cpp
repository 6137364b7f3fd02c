// The command line of "执行程序": split into a program and its arguments.
#include "FuzzInput.h"
#include "scheduler/CommandLine.h"

using namespace campanor;
using namespace campanor::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString line = QString::fromUtf8(bytesOf(data, size));
    const auto words = splitCommandLine(line);
    if (!words)
        return 0;
    require(!words->isEmpty() && !words->first().isEmpty(), "a program without a name");
    for (const QByteArray& word : *words)
        require(!word.contains('\0'), "a word with a NUL");
    return 0;
}
