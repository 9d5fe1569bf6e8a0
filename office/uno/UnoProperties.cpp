#include "UnoProperties.h"

namespace office {

css::uno::Sequence<css::beans::PropertyValue> properties(std::initializer_list<Property> values) {
    css::uno::Sequence<css::beans::PropertyValue> result(static_cast<sal_Int32>(values.size()));
    css::beans::PropertyValue* out = result.getArray();
    for (const Property& value : values) {
        out->Name = value.first;
        out->Value = value.second;
        ++out;
    }
    return result;
}

css::uno::Any propertyValue(const css::uno::Sequence<css::beans::PropertyValue>& values,
                            const char* name) {
    for (const css::beans::PropertyValue& value : values) {
        if (value.Name.equalsAscii(name))
            return value.Value;
    }
    return {};
}

} // namespace office
