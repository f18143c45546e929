// The list's logic sees the window only through the services.
#include <QWidget>
