#pragma once

#include "session/CommandRules.h"

#include <QKeySequence>
#include <QString>
#include <vector>

namespace session {

// The context menus of the product search screen: the product grid's, the presentation grid's
// and the search box's.
enum class ContextMenu { Products, Presentations, SearchBox };

// One item of those menus. Its opener is registered in the command registry under the rule's
// control name; until then the item is disabled. The shortcut acts only in the item's own grid
// or box.
struct ContextItem {
    ContextMenu menu;
    QString caption;
    QKeySequence shortcut;
    bool isDefault = false;  // the menu's default item, shown in bold
    CommandRule rule;        // control: the item's objectName
};

// Every item, menu by menu, in menu order.
const std::vector<ContextItem>& contextItems();
// The item of a control; nullptr when it is none.
const ContextItem* contextItem(const QString& control);

}  // namespace session
