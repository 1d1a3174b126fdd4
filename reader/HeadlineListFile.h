#pragma once
// Headline list files: plain text in the code page (GB18030), no header, two lines per item in array order
// (the title, then the link), each ending in CR LF. The list's separator lines are not saved. Links are saved
// as held, so a list saved from a feed keeps the redirect prefix and loads back with it.
#include <string>

class THeadlineStore;

// Resets the store and fills it from the file: per item, one line as its title and the next
// as its link (empty when the file ends first). Lines are taken as they stand (no trimming,
// conversion or prefix); CR LF, LF and a lone CR all end a line. Throws EInOutError when the
// file cannot be read, with the store left as it was. Returns the number of items.
int ImportHeadlineList(const std::string& fileName, THeadlineStore& store);

// Writes title and link of each item, CR LF after every line, through a temporary file in the
// same directory that replaces the target only once every line is written: a failed save
// throws EInOutError and leaves any old file as it was. Writes nothing when the count is 0 and
// returns false then.
bool SaveHeadlineList(const std::string& fileName, const THeadlineStore& store);

// The bytes a save writes, for writing elsewhere (zelmora-cli writes them to stdout).
std::string HeadlineListText(const THeadlineStore& store);
