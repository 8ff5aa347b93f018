#pragma once

#include "core/apperror.h"

// Input that cannot be used: a wrong argument or an unusable file to read. The message names the argument
// or the file. Every other AppError is the store's.
class InputError : public AppError
{
public:
    using AppError::AppError;
};

// The longest subject or content taken for one reminder from outside the program, in UTF-8 bytes.
inline constexpr qsizetype kLongestText = 1024 * 1024;
