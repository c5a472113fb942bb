#include "medialist/EListError.h"

#include <string>

EListError::EListError(int index)
    : std::runtime_error("List index out of bounds (" + std::to_string(index) + ")")
{
}
