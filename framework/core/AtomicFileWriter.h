#pragma once
// Replaces a file only once everything has been written: the bytes go to a temporary file in the
// target's directory, which is renamed over the target by Commit(). A writer destroyed without a
// successful Commit() removes its temporary file, so the old file stays exactly as it was.
// A symbolic link is written through: its target is replaced and the link stays. The new file
// keeps the old one's mode and, where the process may set it, its owner and group.
#include <string>
#include <string_view>

class AtomicFileWriter {
public:
    // Whether a writer could replace the file as it stands now: it is not marked read-only and
    // its directory (after links) takes the temporary file. False for a missing file too.
    static bool CanReplace(const std::string& fileName);

    // Creates the temporary file; throws EInOutError "Cannot create file ..." when it cannot.
    explicit AtomicFileWriter(std::string fileName);
    ~AtomicFileWriter();
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

    // Buffered; throws EInOutError "Unable to write to ..." on a failed write.
    void Write(std::string_view bytes);
    // Flushes, syncs and renames over the target; throws EInOutError on failure.
    void Commit();

    // The name as given (made absolute), and the file replaced once links are followed.
    const std::string& FileName() const { return fileName_; }
    const std::string& TargetName() const { return target_; }
    const std::string& TempName() const { return tempName_; }

private:
    void Flush();
    [[noreturn]] void Fail(const std::string& message);

    std::string fileName_;
    std::string target_;
    std::string tempName_;
    std::string buffer_;
    int fd_ = -1;
    bool committed_ = false;
};
