#include "gui/widgets/unsavedwork.h"

#include "core/common/prompts.h"

namespace unsavedwork {

bool mayClose(bool changed) {
    return !changed || prompts::question(question);
}

} // namespace unsavedwork
