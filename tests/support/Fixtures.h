#pragma once

#include <QString>
#include <QStringList>

namespace testsupport {

// The workbooks written by make_fixtures.py at build time; its docstring says what each holds.
QString fixturePath(const QString& name);

// The text that marks each printed page of a fixture workbook, in print order (only visible
// sheets print); empty for a fixture that prints no page.
QStringList fixturePageMarkers(const QString& name);

// Copies a fixture into folder, as newName when given; the copy's path, or empty on failure.
// Tests work on copies, never on the fixtures themselves.
QString copyFixture(const QString& name, const QString& folder, const QString& newName = {});

} // namespace testsupport
