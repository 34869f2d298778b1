#pragma once

// The selector's memory of each file's last check: its status mark and the
// file's modification time at that moment. A mark is shown only while the
// file has not changed since.
//
// The file holds one line per file: path, mark, then year, month, day, hour,
// minute and second of that time in local time, separated by tabs. A path
// with a tab or a line break in it is written escaped, its line marked so
// by a ninth field. Paths are the file system's bytes, whatever they are.

#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace orvane::selector {

struct CFileStatusRecord {
    std::string path;
    int mark = 1;
    // Seconds since the epoch; nothing when the line's date did not make a time.
    std::optional<std::int64_t> time;
};

class CFileStatusDatabase {
public:
    explicit CFileStatusDatabase(std::string filePath = {}) : m_filePath(std::move(filePath)) {}

    // Reads the file; 0 when it cannot be opened (no records then).
    int Read();
    // Writes every record when something changed since reading, as a whole
    // (a failed write leaves the old file); 0 when it could not be written.
    int Write();
    // Sets the file's mark and time (a new record for a path not seen yet).
    int Update(const std::string& path, int mark, std::optional<std::int64_t> time);
    // The record of that path; paths compare as the file system compares them
    // (case matters).
    const CFileStatusRecord* Find(const std::string& path) const;
    // The mark to show for a file listed with that modification time: the
    // record's while the file is unchanged since, else none.
    std::optional<int> MarkFor(const std::string& path, std::int64_t fileTime) const;

    bool IsChanged() const { return m_changed; }
    const std::vector<CFileStatusRecord>& Records() const { return m_records; }
    const std::string& FilePath() const { return m_filePath; }

private:
    bool m_changed = false;
    std::string m_filePath;
    std::vector<CFileStatusRecord> m_records;
    std::unordered_map<std::string, std::size_t> m_index;
};

// The stored mark of a status s: s + 1 for 0 to 4, else the unchecked mark.
int MarkOfStatus(int status);

} // namespace orvane::selector
