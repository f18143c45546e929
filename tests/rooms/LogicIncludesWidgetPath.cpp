// Nor by the module's path.
#include <QtWidgets/QWidget>
