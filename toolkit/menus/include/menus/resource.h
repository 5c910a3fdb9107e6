// Resource identifiers of the menu toolkit (res/menus.rc, linked into every program that uses
// the toolkit).
#pragma once

// "Software\<registry key>\<profile>\Settings": where toolbars keep their button layout.
#define XT_IDS_TOOLBAR_STATE_KEY 4507
