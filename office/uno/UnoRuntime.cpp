#include "UnoRuntime.h"

#include "UnoText.h"
#include "office/AutomationError.h"

#include <com/sun/star/lang/XComponent.hpp>
#include <cppuhelper/bootstrap.hxx>
#include <rtl/bootstrap.hxx>

namespace office {

UnoRuntime::UnoRuntime() {
    // The bootstrap finds the type and service registries through the installation's
    // fundamental ini file; without it the bootstrap cannot even start.
    rtl::Bootstrap::set("URE_BOOTSTRAP",
                        "vnd.sun.star.pathname:" TESSALY_LIBREOFFICE_PROGRAM_DIR "/fundamentalrc");
    try {
        m_context = cppu::defaultBootstrap_InitialComponentContext();
    } catch (const css::uno::Exception& e) {
        throw AutomationError(
            QStringLiteral("The UNO runtime could not be started: %1").arg(fromUno(e.Message)));
    }
}

UnoRuntime::~UnoRuntime() {
    const css::uno::Reference<css::lang::XComponent> component(m_context, css::uno::UNO_QUERY);
    if (component.is())
        component->dispose();
}

} // namespace office
