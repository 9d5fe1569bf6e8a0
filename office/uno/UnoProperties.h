#pragma once

#include <com/sun/star/beans/PropertyValue.hpp>
#include <com/sun/star/uno/Sequence.hxx>

#include <initializer_list>
#include <utility>

namespace office {

using Property = std::pair<rtl::OUString, css::uno::Any>;

// A property sequence for a UNO call; filled by index, since brace-initialised sequences need
// headers the SDK does not ship.
css::uno::Sequence<css::beans::PropertyValue> properties(std::initializer_list<Property> values);

// The value of the property called name, or an empty Any.
css::uno::Any propertyValue(const css::uno::Sequence<css::beans::PropertyValue>& values,
                            const char* name);

} // namespace office
