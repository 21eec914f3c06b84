// The interpreter's command procedures called directly with arbitrary words: the input picks one
// solver command of the table and its argument words. Evaluating arbitrary text would mostly
// exercise Tcl's parser; this reaches every branch of our own argument reading.
#include <tcl.h>

#include <QByteArray>
#include <QSet>
#include <QVector>
#include <algorithm>
#include <memory>

#include "FuzzInput.h"
#include "ModelInterpreter.h"
#include "ModelRecord.h"

namespace {

struct Table {
    std::unique_ptr<ModelInterpreter> interpreter;
    QVector<QByteArray> names;
};

QSet<QByteArray> commandNames(Tcl_Interp* interp)
{
    QSet<QByteArray> names;
    if (Tcl_Eval(interp, "info commands") != TCL_OK)
        return names;
    Tcl_Obj* list = Tcl_GetObjResult(interp);
    int count = 0;
    Tcl_Obj** items = nullptr;
    Tcl_ListObjGetElements(nullptr, list, &count, &items);
    for (int i = 0; i < count; ++i)
        names.insert(Tcl_GetString(items[i]));
    return names;
}

// The commands our interpreter adds to plain Tcl, but exit and quit, which cancel the evaluation.
Table& table()
{
    static Table t = [] {
        Table built;
        built.interpreter = std::make_unique<ModelInterpreter>();
        Tcl_Interp* plain = Tcl_CreateInterp();
        Tcl_Init(plain);
        const QSet<QByteArray> tcl = commandNames(plain);
        Tcl_DeleteInterp(plain);
        for (const QByteArray& name : commandNames(built.interpreter->interp()))
            if (!tcl.contains(name) && name != "exit" && name != "quit")
                built.names << name;
        std::sort(built.names.begin(), built.names.end());
        return built;
    }();
    return t;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Table& t = table();
    Tcl_Interp* interp = t.interpreter->interp();
    FuzzInput in(data, size);
    // Most inputs start from a defined model, as scripts do.
    const int setup = in.choose(4);
    QList<QByteArray> given = in.restSplit(' ');
    // The first word names the command; one that is not in the table picks one by its hash.
    QByteArray name = given.takeFirst();
    if (!t.names.contains(name))
        name = t.names.value(int(qHash(name) % uint(t.names.size())));
    Tcl_CmdInfo info;
    if (!Tcl_GetCommandInfo(interp, name.constData(), &info) || !info.isNativeObjectProc)
        return 0;

    resetModelRecord();
    if (setup > 0) {
        ModelRecord* m = modelRecord();
        m->ndm = setup;
        m->ndf = setup == 3 ? 6 : setup == 2 ? 3 : 1;
        for (int i = 1; i <= 4; ++i) {
            m->nodeTags << i;
            m->nodeX << i;
            m->nodeY << (setup > 1 ? i * 2 : 0);
            m->nodeZ << (setup > 2 ? i * 3 : 0);
        }
    }

    QVector<Tcl_Obj*> words{Tcl_NewStringObj(name.constData(), name.size())};
    for (const QByteArray& word : given)
        if (words.size() < 64)
            words << Tcl_NewStringObj(word.constData(), word.size());
    for (Tcl_Obj* w : words)
        Tcl_IncrRefCount(w);
    info.objProc(info.objClientData, interp, words.size(), words.data());
    for (Tcl_Obj* w : words)
        Tcl_DecrRefCount(w);
    Tcl_ResetResult(interp);

    // The record's lists of one kind stay parallel, whatever the command was given.
    const ModelRecord& m = *modelRecord();
    if (m.nodeX.size() != m.nodeTags.size() || m.elementTags.size() != m.elementNodeCounts.size() ||
        m.elementTypes.size() != m.elementTags.size() || m.fixDofs1.size() != m.fixNodeTags.size() ||
        m.equalDofRetainedNodes.size() != m.equalDofConstrainedNodes.size() ||
        m.rigidLinkRetainedNodes.size() != m.rigidLinkConstrainedNodes.size())
        __builtin_trap();
    return 0;
}
