#pragma once

#include <stdexcept>

// Raised when a list is read or changed at an index it does not have.
class EListError : public std::runtime_error {
public:
    explicit EListError(int index);
};
