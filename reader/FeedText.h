#pragma once
// Title and link text as a reader shows them, from the bytes cut out of a feed:
//   - characters decoded in the feed's character set (TFeedTextDecoder), a malformed byte one
//     U+FFFD with the rest kept, and converted to the code page (GB18030);
//   - a CDATA section gives its content as it stands; outside one, XML's entities, numeric
//     references and HTML's named entities are decoded ("&mdash;", "&eacute;", ...). An entity
//     HTML does not know stays as it stands, so nothing a document type declares is expanded;
//   - a title marked as HTML has its markup removed and its entities decoded once more, so
//     "Example &lt;b&gt;Atom&lt;/b&gt;" lists as "Example Atom". An RSS title is taken as HTML
//     when its text looks like it (a closing tag or an entity reference, every tag an HTML
//     element, every entity a known one), as mature feed readers do;
//   - NUL is dropped; in a title CR, LF and TAB become blanks (a title is one line of the list
//     and of a list file) and C1 controls are read as windows-1252, in a link they are dropped;
//   - leading and trailing blanks, control characters and Unicode spaces are trimmed;
//   - a title is cut to at most kTitleCapBytes bytes, at a whole character.
#include <string>
#include <string_view>

class TFeedTextDecoder;

enum class TTitleMarkup {
    Guess, // RSS: plain text unless it looks like HTML
    Text,  // Atom type="text"
    Html,  // Atom type="html", or Atom 0.3's escaped mode
    Xhtml, // Atom type="xhtml": the markup stands in the feed itself
};

inline constexpr std::size_t kTitleCapBytes = 4096;

// The title in the code page.
std::string FeedTitleText(std::string_view raw, const TFeedTextDecoder& decoder, TTitleMarkup markup);
// The link in the code page, not yet resolved against the feed's address.
std::string FeedLinkText(std::string_view raw, const TFeedTextDecoder& decoder);
// The same, appended to what out holds already (a redirect prefix, say).
void AppendFeedLinkText(std::string& out, std::string_view raw, const TFeedTextDecoder& decoder);

// Whether decoded text (in the code page) reads as HTML by the rule above.
bool LooksLikeHtml(std::string_view text);
// The text without its tags and comments; a "<" that starts no tag ("a < b") stays.
std::string StripMarkup(std::string_view text);
