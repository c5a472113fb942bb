#pragma once

#include <QByteArray>
#include <string>

// The floor of a closing with Auto Save, in milliseconds: the same bytes saved atomically and
// durably into the folder, and one store transaction of twelve values.
double SaveFloor(const std::string &folder, const QByteArray &bytes);
