#pragma once

#include "printing/PageModel.h"

#include <gtest/gtest.h>

namespace testsupport {

// The page of a laid-out document at `index`: a failure, and an empty page, when it has fewer.
inline const printing::Page& pageOf(const printing::Document& doc, std::size_t index) {
    static const printing::Page none;
    if (index < doc.pages.size())
        return doc.pages[index];
    ADD_FAILURE() << "the document has " << doc.pages.size() << " pages, not " << index + 1;
    return none;
}

}  // namespace testsupport
