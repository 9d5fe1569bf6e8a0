#pragma once

#include <memory>
#include <mutex>
#include <vector>

namespace report {

class TextShaper;

// The text shapers of one printer's jobs, which render on threads of their own: a job borrows
// one for its rendering and gives it back, so that each font is opened and its glyphs looked
// up once per rendering thread for the whole run rather than once per workbook.
class TextShaperStock {
public:
    // A shaper lent to one rendering, given back when it goes away.
    class Loan {
    public:
        explicit Loan(TextShaperStock& stock);
        ~Loan();
        Loan(const Loan&) = delete;
        Loan& operator=(const Loan&) = delete;
        const TextShaper& shaper() const { return *m_shaper; }

    private:
        TextShaperStock& m_stock;
        std::unique_ptr<TextShaper> m_shaper;
    };

    TextShaperStock();
    ~TextShaperStock();

private:
    std::mutex m_mutex;
    std::vector<std::unique_ptr<TextShaper>> m_idle;
};

} // namespace report
