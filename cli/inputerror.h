#pragma once

#include "core/apperror.h"

// Input that orvane-db cannot use: a wrong argument or an unusable file to read. The message names the
// argument. Every other AppError is the store's.
class InputError : public AppError
{
public:
    using AppError::AppError;
};

// The longest subject or content orvane-db takes for one reminder, in UTF-8 bytes.
inline constexpr qsizetype kLongestText = 1024 * 1024;
