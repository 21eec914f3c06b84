// The text encoding of a script file. Scripts written on Windows are often not UTF-8 but the
// system's code page (cp1252, GBK, ...); the editor must show and save them in their own encoding
// and the interpreter must read them in the same one, so both ask this one function.
//
//   const ScriptEncoding encoding = detectScriptEncoding(bytes);
//   const QString text = decodeScript(bytes, encoding);   // what the editor shows
//   Tcl_FSEvalFileEx(interp, path, encoding.tclName);     // how Tcl reads the same file
#pragma once

#include <QByteArray>
#include <QString>

struct ScriptEncoding {
    QByteArray codecName = "UTF-8";  // Qt codec: "UTF-8", "GBK", "windows-1252", "ISO-8859-1", ...
    QByteArray tclName = "utf-8";    // the same encoding as Tcl names it: "utf-8", "cp936", "cp1252", ...
    bool byteOrderMark = false;      // a UTF-8 file that starts with EF BB BF keeps it

    bool isUtf8() const { return codecName == "UTF-8"; }
    bool operator==(const ScriptEncoding& o) const
    {
        return codecName == o.codecName && byteOrderMark == o.byteOrderMark;
    }
};

// UTF-8 when BYTES are valid UTF-8 (ASCII included); otherwise the first of the system locale's
// codec, GBK and windows-1252 that decodes them without loss and encodes the text back to exactly
// BYTES; ISO-8859-1, which reproduces any bytes, when none does.
ScriptEncoding detectScriptEncoding(const QByteArray& bytes);

// The text of BYTES in ENCODING, without a byte-order mark.
QString decodeScript(const QByteArray& bytes, const ScriptEncoding& encoding);

// TEXT as bytes in ENCODING (with its byte-order mark). False, and OUT untouched, when ENCODING
// cannot hold every character of TEXT.
bool encodeScript(const QString& text, const ScriptEncoding& encoding, QByteArray* out);
