#include "ScriptEncoding.h"

#include <QTextCodec>

namespace {

const QByteArray utf8Bom("\xEF\xBB\xBF");

// TEXT of BYTES when CODEC reads them without an invalid sequence and writes the text back to
// exactly the same bytes; a null string otherwise.
QString losslessDecode(QTextCodec* codec, const QByteArray& bytes)
{
    if (!codec)
        return QString();
    QTextCodec::ConverterState state(QTextCodec::IgnoreHeader);
    QString text = codec->toUnicode(bytes.constData(), bytes.size(), &state);
    if (state.invalidChars > 0 || state.remainingChars > 0)
        return QString();
    if (codec->fromUnicode(text) != bytes)
        return QString();
    if (text.isNull())
        text = QLatin1String("");
    return text;
}

// Tcl's name for the encodings a Windows or Unix locale may use; empty when Tcl has none.
QByteArray tclNameOf(const QByteArray& codec)
{
    const QByteArray c = codec.toLower();
    if (c == "utf-8")
        return "utf-8";
    if (c == "gbk" || c == "gb2312" || c == "gb18030" || c == "cp936")
        return "cp936";
    if (c.startsWith("windows-") && c.size() == 12)
        return "cp" + c.mid(8);  // windows-1250 ... windows-1258
    if (c.startsWith("iso-8859-"))
        return "iso8859-" + c.mid(9);
    if (c == "shift_jis" || c == "sjis")
        return "shiftjis";
    if (c == "windows-31j")
        return "cp932";
    if (c == "big5" || c == "big5-hkscs")
        return "big5";
    if (c == "windows-949" || c == "euc-kr")
        return "cp949";
    if (c == "euc-jp" || c == "koi8-r" || c == "koi8-u")
        return c;
    if (c.startsWith("ibm") && c.size() == 6)
        return "cp" + c.mid(3);  // IBM850 and friends
    return QByteArray();
}

// Codecs that turn any bytes into some text: they prove nothing about the file, so they are kept
// for the end.
bool acceptsAnyBytes(const QTextCodec* codec)
{
    const int mib = codec->mibEnum();
    return mib == 3 || mib == 4 || mib == 2252 || mib == 106;  // US-ASCII, Latin-1, cp1252, UTF-8
}

// GBK text pairs a lead byte with a trail byte that is also above 0x7F for every common character
// (the GB2312 set). Latin-1 text read as GBK pairs a letter like "ü" with the ASCII letter after
// it; such a pair means the file is not Chinese.
bool looksLikeGbk(const QByteArray& bytes)
{
    for (int i = 0; i < bytes.size(); ++i) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        if (lead < 0x80)
            continue;
        if (lead == 0x80 || lead == 0xFF || i + 1 >= bytes.size())
            return false;
        const auto trail = static_cast<unsigned char>(bytes[++i]);
        if (trail < 0x80)
            return false;
    }
    return true;
}

bool hasC1Bytes(const QByteArray& bytes)
{
    for (const char b : bytes) {
        const auto u = static_cast<unsigned char>(b);
        if (u >= 0x80 && u <= 0x9F)
            return true;
    }
    return false;
}

ScriptEncoding encoding(const QByteArray& codec, const QByteArray& tcl)
{
    ScriptEncoding e;
    e.codecName = codec;
    e.tclName = tcl;
    return e;
}

}  // namespace

ScriptEncoding detectScriptEncoding(const QByteArray& bytes)
{
    const bool bom = bytes.startsWith(utf8Bom);
    if (!losslessDecode(QTextCodec::codecForMib(106), bom ? bytes.mid(3) : bytes).isNull()) {
        ScriptEncoding utf8;
        utf8.byteOrderMark = bom;
        return utf8;
    }
    if (QTextCodec* locale = QTextCodec::codecForLocale(); locale && !acceptsAnyBytes(locale)) {
        const QByteArray tcl = tclNameOf(locale->name());
        if (!tcl.isEmpty() && !losslessDecode(locale, bytes).isNull())
            return encoding(locale->name(), tcl);
    }
    if (looksLikeGbk(bytes) && !losslessDecode(QTextCodec::codecForName("GBK"), bytes).isNull())
        return encoding("GBK", "cp936");
    // The two agree above 0x9F; cp1252 gives the bytes 0x80 to 0x9F their Windows meaning.
    if (hasC1Bytes(bytes))
        return encoding("windows-1252", "cp1252");
    return encoding("ISO-8859-1", "iso8859-1");
}

QString decodeScript(const QByteArray& bytes, const ScriptEncoding& encoding)
{
    QTextCodec* codec = QTextCodec::codecForName(encoding.codecName);
    if (!codec)
        codec = QTextCodec::codecForMib(106);
    const bool bom = encoding.byteOrderMark && bytes.startsWith(utf8Bom);
    QTextCodec::ConverterState state(QTextCodec::IgnoreHeader);
    const QByteArray body = bom ? bytes.mid(3) : bytes;
    return codec->toUnicode(body.constData(), body.size(), &state);
}

bool encodeScript(const QString& text, const ScriptEncoding& encoding, QByteArray* out)
{
    QTextCodec* codec = QTextCodec::codecForName(encoding.codecName);
    if (!codec)
        return false;
    QTextCodec::ConverterState state(QTextCodec::IgnoreHeader);
    const QByteArray bytes = codec->fromUnicode(text.constData(), text.size(), &state);
    // A codec may replace what it cannot hold by '?' without counting it: read the bytes back.
    ScriptEncoding plain = encoding;
    plain.byteOrderMark = false;
    if (state.invalidChars > 0 || decodeScript(bytes, plain) != text)
        return false;
    *out = encoding.byteOrderMark ? utf8Bom + bytes : bytes;
    return true;
}
