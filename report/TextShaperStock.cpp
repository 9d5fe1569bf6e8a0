#include "TextShaperStock.h"

#include "TextShaper.h"

namespace report {

TextShaperStock::TextShaperStock() = default;
TextShaperStock::~TextShaperStock() = default;

TextShaperStock::Loan::Loan(TextShaperStock& stock)
    : m_stock(stock) {
    const std::lock_guard lock(stock.m_mutex);
    if (stock.m_idle.empty()) {
        m_shaper = std::make_unique<TextShaper>();
        return;
    }
    m_shaper = std::move(stock.m_idle.back());
    stock.m_idle.pop_back();
}

TextShaperStock::Loan::~Loan() {
    const std::lock_guard lock(m_stock.m_mutex);
    m_stock.m_idle.push_back(std::move(m_shaper));
}

} // namespace report
