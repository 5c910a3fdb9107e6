// Resource identifiers of the menu toolkit (res/menus.rc, linked into every program that uses
// the toolkit).
#pragma once

// "Software\<registry key>\<profile>\Settings": where toolbars keep their button layout.
#define XT_IDS_TOOLBAR_STATE_KEY 4507

// The bar context menu's item that opens a toolbar's customise dialog (shown by the toolkit
// frames).
#define XT_IDS_CUSTOMIZE 4511
