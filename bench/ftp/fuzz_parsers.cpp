// libFuzzer target for what the server controls: control-connection replies and listing
// lines. The input is cut into lines; each goes through the reply parser (a refused line
// starts a new reply) and through both listing parsers.
#include "ftp/ftplisting.h"
#include "ftp/ftpreply.h"

#include <QDateTime>

#include <cstdlib>

using namespace corvanta;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const QDateTime now(QDate(2024, 6, 15), QTime(12, 0));
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    FtpReplyParser parser;
    for (const QByteArray &raw : bytes.split('\n')) {
        const QString line = QString::fromUtf8(raw.endsWith('\r') ? raw.chopped(1) : raw);
        try {
            if (parser.AddLine(line)) {
                const FtpReply reply = parser.Take();
                if (reply.Code < 100 || reply.Code > 999 || reply.Text.isEmpty())
                    std::abort();
            }
        } catch (const FtpError &) {
            parser = FtpReplyParser();
        }
        for (const auto &entry : {ParseMlsdLine(line), ParseListLine(line, now)})
            if (entry && (entry->Name.isEmpty() || entry->Size < -1))
                std::abort();
    }
    return 0;
}
