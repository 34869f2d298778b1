#pragma once

#include <span>

namespace orvane {

class CTableRecord;

// Asks the user whether each of the tables is a layout or a data table and
// stores every answer in the table's record (SetType). A table the user does
// not decide on keeps type 0.
class ITableTypeQuestion {
public:
    virtual ~ITableTypeQuestion() = default;
    virtual void Ask(std::span<CTableRecord* const> tables) = 0;
};

// The process-wide question the checks ask. Until a host installs one, nobody
// is asked and the types stay unknown.
ITableTypeQuestion& TableTypeQuestion();
// Installs a question (the caller keeps ownership); null restores the default.
void SetTableTypeQuestion(ITableTypeQuestion* question);

// Installs a question for the lifetime of the guard, then puts the old one back.
class ScopedTableTypeQuestion {
public:
    explicit ScopedTableTypeQuestion(ITableTypeQuestion& question);
    ~ScopedTableTypeQuestion();
    ScopedTableTypeQuestion(const ScopedTableTypeQuestion&) = delete;
    ScopedTableTypeQuestion& operator=(const ScopedTableTypeQuestion&) = delete;

private:
    ITableTypeQuestion* m_previous;
};

} // namespace orvane
