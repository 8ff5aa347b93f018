#pragma once

#include "core/apperror.h"

// Input that orvane-db cannot use: a wrong argument or an unusable file to read. The message names the
// argument. Every other AppError is the store's.
class InputError : public AppError
{
public:
    using AppError::AppError;
};
