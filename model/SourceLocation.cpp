#include "SourceLocation.h"

#include <tcl.h>

#include <QByteArray>
#include <QString>

#include <cstring>

#include "CommandFrame.h"
#include "ModelRecord.h"

namespace {

// The last file looked up. Scripts record thousands of items from one file in a row, so the
// common case is one comparison of a short path, not a search of the list.
struct LastFile {
    QByteArray path;
    QString name;  // shared with the record's entry while that entry lives
    int index = -1;
};

int fileIndex(ModelRecord& model, Tcl_Obj* file)
{
    static LastFile last;
    int length = 0;
    const char* bytes = Tcl_GetStringFromObj(file, &length);
    // A wipe empties the list: the entry must still be the very string remembered.
    if (last.index >= 0 && last.index < model.sourceFiles.size() && last.path.size() == length &&
        std::memcmp(last.path.constData(), bytes, size_t(length)) == 0 &&
        model.sourceFiles[last.index].data_ptr() == last.name.data_ptr())
        return last.index;
    last.path = QByteArray(bytes, length);
    last.name = QString::fromUtf8(last.path);
    last.index = int(model.sourceFiles.indexOf(last.name));
    if (last.index < 0) {
        last.index = model.sourceFiles.size();
        model.sourceFiles.append(last.name);
    }
    return last.index;
}

}  // namespace

SourceLocation currentSourceLocation(Tcl_Interp* interp, Tcl_Obj* command)
{
    SourceLocation at;
    Tcl_Obj* file = nullptr;
    if (!interp)
        return at;
    at.line = commandFrameLine(interp, command ? Tcl_GetString(command) : nullptr, &file);
    if (file)
        at.file = fileIndex(*modelRecord(), file);
    return at;
}
