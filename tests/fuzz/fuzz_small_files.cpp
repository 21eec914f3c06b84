// The readers of the small text files: code snippets, the run record, the sample line of the
// result choice. Any bytes must read without a crash or a read past the end.
#include <QDir>
#include <QFile>
#include <QTextStream>

#include "CodeSnippets.h"
#include "FuzzInput.h"
#include "RunRecord.h"
#include "zor_result_read_panel.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput in(data, size);
    const int which = in.choose(3);
    QByteArray bytes = in.rest();
    if (which == 0) {
        QTextStream stream(&bytes);
        const Snippets s = parseSnippets(stream);
        if (s.titles.size() != s.bodies.size())
            __builtin_trap();
    } else if (which == 1) {
        static const QString path = QDir::tempPath() + QStringLiteral("/tolvane-fuzz-OutputSetting");
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly))
            return 0;
        f.write(bytes);
        f.close();
        const RunRecord r = readRunRecord(path);
        for (const QStringList& setting : r.settings)
            if (setting.isEmpty())
                __builtin_trap();
    } else {
        const QString line = QString::fromLatin1(bytes);
        const int columns = sampleColumns(line);
        for (int nodes = 0; nodes <= 8; ++nodes) {
            const ComponentNames names = componentNames(QStringLiteral("stresses"), nodes, 3, columns);
            for (const QString& attribute : attributeChoices(names, nodes))
                if (attributeComponents(names, attribute).size() > std::max(columns, 0))
                    __builtin_trap();
        }
    }
    return 0;
}
