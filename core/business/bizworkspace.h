#pragma once

#include "core/business/appstate.h"

#include <QString>

// The business operations on the registry and the area folders, without any window.

// Reads loadbiz.dat from the home folder into the state, as at start-up. A registry of the
// wrong size is moved aside as loadbiz.dat.damaged and the state stays empty; the returned
// text then tells the user so (empty when all went well).
QString readRegistryAtStartup(AppState& state);

// Writes the registry to loadbiz.dat in the home folder. Throws FileError.
void writeRegistry(const AppState& state);

// Makes a new business in the lowest free slot: moves an old folder of that slot's name aside,
// creates the folder and the three databases from the templates (written first when missing),
// and only then records the business in the state as the open one. Returns the slot.
// Throws FileError or DbError with the reason; the state is then unchanged.
int createBusiness(AppState& state, const QString& name);

// The text shown for a registry file error, naming the file.
QString registryErrorText(const QString& reason);
