// The record reader: GB18030 bytes, quoted or bare values, CR LF or LF.
#include "FuzzInput.h"
#include "common/RecordFile.h"

#include <QtEndian>

using namespace campanor;
using namespace campanor::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes = bytesOf(data, size);
    const QString content = decodeLocal(bytes);
    const QString value = parseRecord(content);
    require(value.size() <= content.size(), "a value longer than its file");

    // Whatever text a writer stores comes back unchanged, as long as it holds
    // no quotation mark (the one thing the format cannot carry).
    const QString text = QString::fromUtf8(bytes);
    if (!text.contains(u'"')) {
        const QString stored = parseRecord(decodeLocal("\"" + encodeLocal(text) + "\"\r\n"));
        require(stored == text, "a quoted text does not read back");
    }
    // A bare number reads back as the same number.
    const qint64 number =
        bytes.size() >= 8 ? qFromUnaligned<qint64>(bytes.constData()) : qint64(bytes.size());
    bool ok = false;
    require(parseRecord(decodeLocal(QByteArray::number(number) + "\r\n")).toLongLong(&ok) ==
                    number &&
                ok,
            "a number does not read back");
    return 0;
}
