#ifndef ORVANEENGINE_EXPORT_H
#define ORVANEENGINE_EXPORT_H

#include <QtCore/qglobal.h>

// Marks the classes and static data that form the engine's public interface.
#if defined(ORVANEENGINE_LIBRARY)
#define ORVANEENGINE_EXPORT Q_DECL_EXPORT
#else
#define ORVANEENGINE_EXPORT Q_DECL_IMPORT
#endif

#endif
