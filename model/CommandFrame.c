/* Tcl 8.6 records, for every running command, a frame with the lines of its words: directly for
 * commands evaluated from a file, and as an instruction pointer into byte code for compiled ones
 * (loop and procedure bodies), which TclGetSrcInfoForPc turns into lines the way `info frame`
 * does. Calling `info frame` itself would cost an evaluation per recorded item. */
#define HAVE_UNISTD_H 1
#define HAVE_STDINT_H 1
#include <tclCompile.h>
#include <tclInt.h>

#include <string.h>

#include "CommandFrame.h"

/* TclGetSrcInfoForPc walks the whole command table of the byte code at every call, while a loop
 * runs the same few instructions thousands of times: remember which command of the table an
 * instruction belongs to. An entry is trusted only while the byte code at that address still has
 * the same location table, of the same size and starting line, and the remembered command starts
 * with the name of the command now running; byte code is freed and its memory reused when a
 * top-level loop ends, so the address alone says nothing. */
typedef struct KnownInstruction {
    const ByteCode* code;
    const char* pc;
    const ExtCmdLoc* table;
    int start;
    int commands;
    int codeBytes;
    int command; /* index into table->loc */
} KnownInstruction;

enum { knownSize = 256 };
static KnownInstruction known[knownSize];

static const ExtCmdLoc* locationTable(Interp* iPtr, const ByteCode* code)
{
    Tcl_HashEntry* entry = Tcl_FindHashEntry(iPtr->lineBCPtr, (const char*)code);
    return entry ? (const ExtCmdLoc*)Tcl_GetHashValue(entry) : NULL;
}

static int startsWith(const ByteCode* code, int offset, const char* name)
{
    const size_t length = strlen(name);
    return offset >= 0 && (size_t)(code->numSrcBytes - offset) >= length &&
           memcmp(code->source + offset, name, length) == 0;
}

static int fresh(const KnownInstruction* k, const ByteCode* code, const char* pc, const ExtCmdLoc* table,
                 const char* name)
{
    return k->code == code && k->pc == pc && k->table == table && k->start == table->start &&
           k->commands == table->nuloc && k->codeBytes == code->numCodeBytes && k->command < table->nuloc &&
           name && startsWith(code, table->loc[k->command].srcOffset, name);
}

/* The command of TABLE that the instruction of FRAME belongs to, or -1. */
static int commandOf(const CmdFrame* frame, const ExtCmdLoc* table)
{
    /* On a copy, as `info frame` does: the lookup rewrites the frame's type and path. */
    CmdFrame copy = *frame;
    copy.cmd = NULL;
    TclGetSrcInfoForPc(&copy);
    if (copy.type != TCL_LOCATION_SOURCE)
        return -1;
    /* The path stays alive in the location table; drop the lookup's hold on it. */
    Tcl_DecrRefCount(copy.data.eval.path);
    for (int i = 0; i < table->nuloc; ++i)
        if (table->loc[i].line == copy.line)
            return i;
    return -1;
}

/* NAME is the running command's name when FRAME is its own frame, else null. */
static int compiledLine(Interp* iPtr, const CmdFrame* frame, const char* name, Tcl_Obj** file)
{
    const ByteCode* code = (const ByteCode*)frame->data.tebc.codePtr;
    const char* pc = frame->data.tebc.pc;
    /* Eval'd strings and procedures made at run time have no file: no need to search them. */
    const ExtCmdLoc* table = locationTable(iPtr, code);
    if (!table || table->type != TCL_LOCATION_SOURCE || !table->path)
        return 0;
    KnownInstruction* k = &known[(((uintptr_t)code >> 4) ^ (uintptr_t)pc) % knownSize];
    if (!fresh(k, code, pc, table, name)) {
        const int command = commandOf(frame, table);
        if (command < 0)
            return 0;
        const KnownInstruction found = {code,   pc, table, table->start, table->nuloc, code->numCodeBytes,
                                        command};
        *k = found;
    }
    const ECL* loc = &table->loc[k->command];
    if (!loc->line || loc->nline <= 0)
        return 0;
    *file = table->path;
    return loc->line[0];
}

/* The structures read here are those of the headers built against; another Tcl gets no lines. */
static int sameTcl(void)
{
    static int same = -1;
    if (same < 0) {
        int major = 0, minor = 0;
        Tcl_GetVersion(&major, &minor, NULL, NULL);
        same = major == TCL_MAJOR_VERSION && minor == TCL_MINOR_VERSION;
    }
    return same;
}

int commandFrameLine(Tcl_Interp* interp, const char* command, Tcl_Obj** file)
{
    Interp* iPtr = (Interp*)interp;
    *file = NULL;
    if (!sameTcl())
        return 0;
    for (const CmdFrame* frame = iPtr->cmdFramePtr; frame; frame = frame->nextPtr, command = NULL) {
        if (frame->type == TCL_LOCATION_SOURCE && frame->line && frame->nline > 0 && frame->data.eval.path) {
            *file = frame->data.eval.path;
            return frame->line[0];
        }
        if (frame->type == TCL_LOCATION_BC) {
            const int line = compiledLine(iPtr, frame, command, file);
            if (line > 0)
                return line;
        }
    }
    return 0;
}
