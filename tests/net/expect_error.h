#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "error.h"

namespace olmira::test {

// The step fails with exactly the text the user would see.
inline void ExpectError(const std::function<void()>& step, const std::string& text) {
    try {
        step();
        ADD_FAILURE() << "no error, expected: " << text;
    } catch (const Error& error) {
        EXPECT_EQ(error.what(), text);
    }
}

inline std::string ErrorText(const std::exception_ptr& error) {
    if (!error) {
        return "(no error)";
    }
    try {
        std::rethrow_exception(error);
    } catch (const Error& caught) {
        return caught.what();
    }
}

}  // namespace olmira::test
