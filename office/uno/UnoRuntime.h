#pragma once

#include <com/sun/star/uno/XComponentContext.hpp>

namespace office {

// The local UNO component context through which this process reaches LibreOffice servers.
class UnoRuntime {
public:
    // Raises AutomationError when the UNO runtime cannot be started.
    UnoRuntime();
    ~UnoRuntime();
    UnoRuntime(const UnoRuntime&) = delete;
    UnoRuntime& operator=(const UnoRuntime&) = delete;

    const css::uno::Reference<css::uno::XComponentContext>& context() const { return m_context; }

private:
    css::uno::Reference<css::uno::XComponentContext> m_context;
};

} // namespace office
