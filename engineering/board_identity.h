// The application's side of the board identity panel: what each of its requests means for the three
// boards of the module.
#ifndef QM_ENGINEERING_BOARD_IDENTITY_H
#define QM_ENGINEERING_BOARD_IDENTITY_H

// Request handler given to calidPanelInit (operation, page, field as raised by the panel).
void boardIdentityChanged(int operation, int page, int field);

#endif
