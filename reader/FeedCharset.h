#pragma once
// Which character set a feed body is in, decided as browsers and feed readers do:
//   1. a byte-order mark (UTF-8, UTF-16 or UTF-32), or the "<?" of a declaration in UTF-16/32;
//   2. else the charset of the HTTP Content-Type (it wins over the document's own word);
//   3. else the encoding of the XML declaration;
//   4. else UTF-8;
//   and then weighed against the bytes, as mature feed readers do: when the server says UTF-8 and
//   the declaration something else, the declaration wins over bytes that are no UTF-8; a body
//   read as UTF-8 that holds high bytes but not one UTF-8 character is legacy text, read as
//   windows-1252 (stray bytes among UTF-8 characters cost only themselves); a body labelled
//   Latin-1 (or labelled otherwise but declared UTF-8) that is UTF-8 throughout, with characters
//   beyond ASCII, reads as UTF-8.
// Labels are mapped to the converter that reads what publishers actually send under them: the
// GB2312/GBK family to GB18030, Shift_JIS to Microsoft's CP932 (whose 0x5C is the backslash),
// EUC-KR to CP949, Big5 to CP950, ISO-8859-1 and US-ASCII to windows-1252. A declaration of
// UTF-16 or UTF-32 over a body that is plainly 8-bit is a lie and reads as UTF-8; an unknown
// label reads as UTF-8.
#include <string>
#include <string_view>

struct TFeedCharset {
    std::string name;          // an iconv name: "UTF-8", "GB18030", "UTF-16LE", "CP932", ...
    std::size_t bomLength = 0; // bytes of a byte-order mark to skip
};

TFeedCharset DetectFeedCharset(std::string_view body, std::string_view httpContentType);

// The converter name for a label ("gb2312" -> "GB18030"), or "" when no converter knows it.
std::string CharsetNameOfLabel(std::string_view label);

// The charset parameter of a Content-Type value ("text/xml; charset=\"GBK\"" -> "GBK"), or "".
std::string_view ContentTypeCharset(std::string_view contentType);

// The encoding of the XML declaration at the start of an 8-bit body, or "".
std::string_view XmlDeclarationEncoding(std::string_view body);

// Whether the name is one of the UTF-16/UTF-32 forms (not ASCII-compatible).
bool IsWideCharset(std::string_view name);
