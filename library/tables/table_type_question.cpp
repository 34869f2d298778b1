#include "table_type_question.h"

namespace orvane {
namespace {

class CUnansweredQuestion final : public ITableTypeQuestion {
public:
    void Ask(std::span<CTableRecord* const>) override {}
};

CUnansweredQuestion g_unanswered;
ITableTypeQuestion* g_question = &g_unanswered;

} // namespace

ITableTypeQuestion& TableTypeQuestion() { return *g_question; }

void SetTableTypeQuestion(ITableTypeQuestion* question) { g_question = question ? question : &g_unanswered; }

ScopedTableTypeQuestion::ScopedTableTypeQuestion(ITableTypeQuestion& question) : m_previous(g_question)
{
    g_question = &question;
}

ScopedTableTypeQuestion::~ScopedTableTypeQuestion() { g_question = m_previous; }

} // namespace orvane
