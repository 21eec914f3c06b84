/* Where the command now running stands in a script file, read from the command frames Tcl keeps
 * for `info frame`, without evaluating anything. C, because it reads Tcl's private structures.
 *
 *   Tcl_Obj* file = NULL;
 *   const int line = commandFrameLine(interp, Tcl_GetString(objv[0]), &file);  // 0: unknown
 */
#pragma once

#ifdef __cplusplus
extern "C" {
#endif

struct Tcl_Interp;
struct Tcl_Obj;

/* The line of the innermost running command that stands in a file: the command itself when it was
 * written in a script file or in the body of a procedure defined in one, otherwise the command that
 * evaluated it (an eval of a built string, a procedure made at run time, a C command evaluating
 * script). COMMAND is the running command's name as the script wrote it (its first word), or null.
 * FILE receives the normalised path, owned by Tcl and valid until the command returns. */
int commandFrameLine(struct Tcl_Interp* interp, const char* command, struct Tcl_Obj** file);

#ifdef __cplusplus
}
#endif
