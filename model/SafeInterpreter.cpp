#include "SafeInterpreter.h"

#include <tcl.h>

#include <QByteArray>
#include <QStringList>
#include <QVarLengthArray>
#include <cstring>

#include "InterpreterState.h"

namespace {

const char* const scriptName = "script";  // the child's name in the host
const char* const gatewayKey = "tolvane::gateway";

// What the host's alias procedures share: both interpreters and the tally of what was not done.
struct Gateway {
    Tcl_Interp* host = nullptr;
    Tcl_Interp* script = nullptr;
    LeftUndone* undone = nullptr;
    int channels = 0;  // discarding channels made so far, to name them
};

int refuse(Tcl_Interp* interp, const char* what)
{
    Tcl_SetObjResult(interp, Tcl_ObjPrintf("`%s` is not run when a script is opened; Run hands the "
                                           "script to the solver, which runs everything",
                                           what));
    Tcl_SetErrorCode(interp, "TOLVANE", "REFUSED", what, nullptr);
    return TCL_ERROR;
}

// exec and socket live in the script's own interpreter, so their error is placed like any other.
int refusedCommand(ClientData what, Tcl_Interp* interp, int, Tcl_Obj* const[])
{
    return refuse(interp, static_cast<const char*>(what));
}

// Runs the script's hidden command NAME with COUNT WORDS in the script's current frame (a source
// inside a procedure sees its variables). The result is left in the host, where the alias takes it.
int invokeHidden(const Gateway& g, Tcl_Obj* name, int count, Tcl_Obj* const words[])
{
    QVarLengthArray<Tcl_Obj*, 16> command;
    command << Tcl_NewStringObj("interp", -1) << Tcl_NewStringObj("invokehidden", -1)
            << Tcl_NewStringObj(scriptName, -1) << Tcl_NewStringObj("--", -1) << name;
    for (int i = 0; i < count; ++i)
        command << words[i];
    for (Tcl_Obj* word : command)
        Tcl_IncrRefCount(word);
    // No error trace of the host's own: the script's trace is what places the error.
    const int code = Tcl_EvalObjv(g.host, command.size(), command.data(), TCL_EVAL_NOERR);
    for (Tcl_Obj* word : command)
        Tcl_DecrRefCount(word);
    return code;
}

int invokeHidden(const Gateway& g, const QByteArray& name, int count, Tcl_Obj* const words[])
{
    return invokeHidden(g, Tcl_NewStringObj(name.constData(), name.size()), count, words);
}

// A channel whose writes vanish and whose reads end at once.
int discardClose(ClientData, Tcl_Interp*)
{
    return 0;
}
int discardInput(ClientData, char*, int, int* error)
{
    *error = 0;
    return 0;
}
int discardOutput(ClientData, const char*, int size, int* error)
{
    *error = 0;
    return size;
}
void discardWatch(ClientData, int) {}
int discardHandle(ClientData, int, ClientData*)
{
    return TCL_ERROR;
}

const Tcl_ChannelType discardChannel = {
    "discard",    TCL_CHANNEL_VERSION_5, discardClose, discardInput, discardOutput, nullptr, nullptr, nullptr,
    discardWatch, discardHandle,         nullptr,      nullptr,      nullptr,       nullptr, nullptr, nullptr,
    nullptr,
};

// Gives the script a discarding channel in place of a file opened for writing; its name is the result.
int discardedWrite(Gateway& g)
{
    const QByteArray name = "discard" + QByteArray::number(++g.channels);
    Tcl_Channel channel =
        Tcl_CreateChannel(&discardChannel, name.constData(), nullptr, TCL_READABLE | TCL_WRITABLE);
    Tcl_RegisterChannel(g.script, channel);
    ++g.undone->count[LeftUndone::FileWrites];
    Tcl_SetObjResult(g.host, Tcl_NewStringObj(name.constData(), name.size()));
    return TCL_OK;
}

// source, glob, pwd, cd, fconfigure: harmless with what the script can reach. The alias names the
// hidden command as its first word.
int hiddenGateway(ClientData data, Tcl_Interp*, int objc, Tcl_Obj* const objv[])
{
    return invokeHidden(*static_cast<Gateway*>(data), objv[1], objc - 2, objv + 2);
}

// Everything but moving the folders Tcl loads encodings from. A script that sets the system
// encoding has it for its evaluation only (the host puts it back).
int encodingGateway(ClientData data, Tcl_Interp*, int objc, Tcl_Obj* const objv[])
{
    if (objc > 2 && std::strcmp(Tcl_GetString(objv[1]), "dirs") == 0)
        return TCL_OK;
    return invokeHidden(*static_cast<Gateway*>(data), "encoding", objc - 1, objv + 1);
}

// "r", "rb" or POSIX flags that only read; anything else may write or create.
bool readsOnly(Tcl_Obj* access)
{
    const char* mode = Tcl_GetString(access);
    if (std::strcmp(mode, "r") == 0 || std::strcmp(mode, "rb") == 0)
        return true;
    int count = 0;
    Tcl_Obj** flags = nullptr;
    if (Tcl_ListObjGetElements(nullptr, access, &count, &flags) != TCL_OK)
        return false;
    bool readOnly = false;
    for (int i = 0; i < count; ++i) {
        const QByteArray flag = Tcl_GetString(flags[i]);
        if (flag == "RDONLY")
            readOnly = true;
        else if (flag != "BINARY" && flag != "NOCTTY" && flag != "NONBLOCK")
            return false;
    }
    return readOnly;
}

int openGateway(ClientData data, Tcl_Interp* host, int objc, Tcl_Obj* const objv[])
{
    auto& g = *static_cast<Gateway*>(data);
    if (objc >= 2 && Tcl_GetString(objv[1])[0] == '|')
        return refuse(host, "open \"|...\"");
    // A wrong number of words goes to Tcl's own open, which reports it.
    if (objc < 3 || objc > 4 || readsOnly(objv[2]))
        return invokeHidden(g, "open", objc - 1, objv + 1);
    return discardedWrite(g);
}

enum class FileUse {
    Read,        // hidden tcl:file:<name>
    Pure,        // ::tcl::file::<name>, which a safe interpreter keeps
    Change,      // counted as KIND, one per path (the last path is the target when TARGETS is 1)
    QueryOrSet,  // a query up to QUERYWORDS words after the subcommand, else a change
    TempFile,
};

struct FileSubcommand {
    const char* name;
    FileUse use;
    LeftUndone::Kind kind;
    int queryWords;  // QueryOrSet
    int targets;     // Change
    bool options;    // leading words starting with "-" are options, not paths
};

constexpr LeftUndone::Kind none = LeftUndone::Kinds;

// Every subcommand of Tcl's file; a unique prefix selects one, as with Tcl's own.
const FileSubcommand fileSubcommands[] = {
    {"atime", FileUse::QueryOrSet, LeftUndone::AttributesSet, 1, 0, false},
    {"attributes", FileUse::QueryOrSet, LeftUndone::AttributesSet, 2, 0, false},
    {"channels", FileUse::Pure, none, 0, 0, false},
    {"copy", FileUse::Change, LeftUndone::FilesCopied, 0, 1, true},
    {"delete", FileUse::Change, LeftUndone::FilesDeleted, 0, 0, true},
    {"dirname", FileUse::Read, none, 0, 0, false},
    {"executable", FileUse::Read, none, 0, 0, false},
    {"exists", FileUse::Read, none, 0, 0, false},
    {"extension", FileUse::Read, none, 0, 0, false},
    {"isdirectory", FileUse::Read, none, 0, 0, false},
    {"isfile", FileUse::Read, none, 0, 0, false},
    {"join", FileUse::Pure, none, 0, 0, false},
    // Tcl makes a link from any two words, "-symbolic" included: only the word count tells.
    {"link", FileUse::QueryOrSet, LeftUndone::LinksMade, 1, 0, false},
    {"lstat", FileUse::Read, none, 0, 0, false},
    {"mkdir", FileUse::Change, LeftUndone::FoldersCreated, 0, 0, false},
    {"mtime", FileUse::QueryOrSet, LeftUndone::AttributesSet, 1, 0, false},
    {"nativename", FileUse::Read, none, 0, 0, false},
    {"normalize", FileUse::Read, none, 0, 0, false},
    {"owned", FileUse::Read, none, 0, 0, false},
    {"pathtype", FileUse::Pure, none, 0, 0, false},
    {"readable", FileUse::Read, none, 0, 0, false},
    {"readlink", FileUse::Read, none, 0, 0, false},
    {"rename", FileUse::Change, LeftUndone::FilesRenamed, 0, 1, true},
    {"rootname", FileUse::Read, none, 0, 0, false},
    {"separator", FileUse::Pure, none, 0, 0, false},
    {"size", FileUse::Read, none, 0, 0, false},
    {"split", FileUse::Pure, none, 0, 0, false},
    {"stat", FileUse::Read, none, 0, 0, false},
    {"system", FileUse::Pure, none, 0, 0, false},
    {"tail", FileUse::Read, none, 0, 0, false},
    {"tempfile", FileUse::TempFile, none, 0, 0, false},
    {"type", FileUse::Read, none, 0, 0, false},
    {"volumes", FileUse::Read, none, 0, 0, false},
    {"writable", FileUse::Read, none, 0, 0, false},
    {nullptr, FileUse::Read, none, 0, 0, false},
};

// The words after the subcommand that are not leading options ("-force", "-symbolic", "--").
int wordsAfterOptions(const FileSubcommand& sub, int count, Tcl_Obj* const words[])
{
    int first = 0;
    while (sub.options && first < count && Tcl_GetString(words[first])[0] == '-') {
        const bool end = std::strcmp(Tcl_GetString(words[first]), "--") == 0;
        ++first;
        if (end)
            break;
    }
    return count - first;
}

int fileGateway(ClientData data, Tcl_Interp* host, int objc, Tcl_Obj* const objv[])
{
    auto& g = *static_cast<Gateway*>(data);
    if (objc < 2) {
        Tcl_SetObjResult(host, Tcl_NewStringObj("wrong # args: should be \"file subcommand ?arg ...?\"", -1));
        return TCL_ERROR;
    }
    int index = 0;
    if (Tcl_GetIndexFromObjStruct(host, objv[1], fileSubcommands, sizeof(FileSubcommand), "subcommand", 0,
                                  &index) != TCL_OK)
        return TCL_ERROR;
    const FileSubcommand& sub = fileSubcommands[index];
    const int count = objc - 2;
    Tcl_Obj* const* words = objv + 2;
    const int paths = wordsAfterOptions(sub, count, words);
    const bool change = (sub.use == FileUse::Change && paths > sub.targets) ||
                        (sub.use == FileUse::QueryOrSet && paths > sub.queryWords);
    if (change) {
        // One change of attributes or one link; otherwise one per path.
        g.undone->count[sub.kind] += sub.use == FileUse::QueryOrSet ? 1 : paths - sub.targets;
        return TCL_OK;
    }
    if (sub.use == FileUse::TempFile) {
        if (count > 0)
            Tcl_ObjSetVar2(g.script, words[0], nullptr, Tcl_NewStringObj("", 0), 0);
        return discardedWrite(g);
    }
    if (sub.use == FileUse::Pure) {
        QVarLengthArray<Tcl_Obj*, 16> command;
        command << Tcl_ObjPrintf("::tcl::file::%s", sub.name);
        for (int i = 0; i < count; ++i)
            command << words[i];
        for (Tcl_Obj* word : command)
            Tcl_IncrRefCount(word);
        const int code = Tcl_EvalObjv(g.script, command.size(), command.data(), TCL_EVAL_NOERR);
        for (Tcl_Obj* word : command)
            Tcl_DecrRefCount(word);
        Tcl_TransferResult(g.script, code, host);
        return code;
    }
    // Reads, and changes given too few words to change anything: Tcl's own subcommand answers
    // or reports the error.
    return invokeHidden(g, QByteArray("tcl:file:") + sub.name, count, words);
}

struct Alias {
    const char* name;
    Tcl_ObjCmdProc* gateway;
    const char* hidden;  // the hidden command the gateway passes the words to; null for its own checks
};

const Alias aliases[] = {
    {"source", hiddenGateway, "source"},
    {"glob", hiddenGateway, "glob"},
    {"pwd", hiddenGateway, "pwd"},
    {"cd", hiddenGateway, "cd"},
    {"fconfigure", hiddenGateway, "fconfigure"},
    {"encoding", encodingGateway, nullptr},
    {"open", openGateway, nullptr},
    {"file", fileGateway, nullptr},
};

void deleteGateway(ClientData data, Tcl_Interp*)
{
    delete static_cast<Gateway*>(data);
}

// Copies the host's VARIABLE array into the script, where changing it changes nothing else.
void copyArray(Tcl_Interp* host, Tcl_Interp* script, const char* variable)
{
    Tcl_Obj* get[] = {Tcl_NewStringObj("array", -1), Tcl_NewStringObj("get", -1),
                      Tcl_NewStringObj(variable, -1)};
    for (Tcl_Obj* word : get)
        Tcl_IncrRefCount(word);
    if (Tcl_EvalObjv(host, 3, get, TCL_EVAL_GLOBAL) == TCL_OK) {
        Tcl_Obj* set[] = {get[0], Tcl_NewStringObj("set", -1), get[2], Tcl_GetObjResult(host)};
        for (Tcl_Obj* word : set)
            Tcl_IncrRefCount(word);
        if (Tcl_EvalObjv(script, 4, set, TCL_EVAL_GLOBAL) != TCL_OK)
            Tcl_ResetResult(script);
        for (Tcl_Obj* word : set)
            Tcl_DecrRefCount(word);
    }
    Tcl_ResetResult(host);
    for (Tcl_Obj* word : get)
        Tcl_DecrRefCount(word);
}

// Library procedures (parray, package require of Tcl's own packages, ...) as the host has them:
// init.tcl read through the aliases, as Tcl's own safe base does.
void initLibrary(Tcl_Interp* host, Tcl_Interp* script)
{
    for (const char* variable : {"tcl_library", "auto_path"}) {
        if (Tcl_Obj* value = Tcl_GetVar2Ex(host, variable, nullptr, TCL_GLOBAL_ONLY))
            Tcl_SetVar2Ex(script, variable, nullptr, value, TCL_GLOBAL_ONLY);
    }
    if (Tcl_Eval(script, "source [file join $tcl_library init.tcl]") != TCL_OK)
        Tcl_ResetResult(script);
}

}  // namespace

Tcl_Interp* createSafeInterpreter(Tcl_Interp* host, LeftUndone* undone)
{
    Tcl_Interp* script = Tcl_CreateSlave(host, scriptName, 1);
    if (!script)
        return nullptr;
    auto* gateway = new Gateway{host, script, undone, 0};
    // Only the script's aliases reach the gateway, so it goes with the script.
    Tcl_SetAssocData(script, gatewayKey, deleteGateway, gateway);
    for (const Alias& alias : aliases) {
        const QByteArray target = QByteArray("tolvane:") + alias.name;
        Tcl_CreateObjCommand(host, target.constData(), alias.gateway, gateway, nullptr);
        const char* prefix[] = {alias.hidden};
        Tcl_CreateAlias(script, alias.name, host, target.constData(), alias.hidden ? 1 : 0, prefix);
    }
    static const char* const refused[] = {"exec", "socket"};
    for (const char* name : refused)
        Tcl_CreateObjCommand(script, name, refusedCommand, const_cast<char*>(name), nullptr);

    // Messages of the script on standard error reach the terminal, as they always did.
    if (Tcl_Channel error = Tcl_GetStdChannel(TCL_STDERR))
        Tcl_RegisterChannel(script, error);
    copyArray(host, script, "env");
    copyArray(host, script, "tcl_platform");
    initLibrary(host, script);
    return script;
}

QString leftUndoneSummary(const LeftUndone& undone)
{
    static const char* const phrases[LeftUndone::Kinds][2] = {
        {"file write discarded", "file writes discarded"},
        {"folder not created", "folders not created"},
        {"file not deleted", "files not deleted"},
        {"file not renamed", "files not renamed"},
        {"file not copied", "files not copied"},
        {"link not made", "links not made"},
        {"file time or attribute not set", "file times or attributes not set"},
    };
    QStringList parts;
    for (int kind = 0; kind < LeftUndone::Kinds; ++kind) {
        const int n = undone.count[kind];
        if (n > 0)
            parts << QStringLiteral("%1 %2").arg(n).arg(QLatin1String(phrases[kind][n == 1 ? 0 : 1]));
    }
    return parts.isEmpty() ? QString() : QStringLiteral("Opened safely: ") + parts.join(QStringLiteral(", "));
}
