#pragma once

#include "core/business/bizregistry.h"

#include <QString>

// The business operations on the registry and the area folders of a home folder, without any
// window. Every path is built from the home folder the program started in; the registry's
// 40-character home_folder only records it.

// loadbiz.dat of the home folder.
QString registryPath(const QString& homeFolder);

// The area folder of a slot, absolute.
QString businessFolder(const QString& homeFolder, const BizRegistry& registry, int slot);

// Reads loadbiz.dat of the home folder into the registry, as at start-up. A registry of the
// wrong size is moved aside as loadbiz.dat.damaged and the registry stays as it was; the
// returned text then tells the user so (empty when all went well).
QString readRegistryAtStartup(const QString& homeFolder, BizRegistry& registry);

// Writes the registry to loadbiz.dat in the home folder. Throws FileError.
void writeRegistry(const QString& homeFolder, const BizRegistry& registry);

// Makes a new business in the lowest free slot: moves an old folder of that slot's name aside,
// creates the folder and the three databases from the templates (written first when missing),
// and only then records the business in the registry as the open one. Returns the slot.
// Throws FileError or DbError with the reason; the registry is then unchanged.
int createBusiness(const QString& homeFolder, BizRegistry& registry, const QString& name);

// Makes a new business in the lowest free slot from a complete folder already prepared inside
// the home folder (a restored backup): moves an old folder of the slot's name aside as
// createBusiness does, renames the prepared folder into place, and only then records the
// business in the registry as the open one. Returns the slot. Throws FileError; the registry is
// then unchanged and the prepared folder where it was.
int adoptBusinessFolder(const QString& homeFolder, BizRegistry& registry, const QString& name,
                        const QString& preparedFolder);

// The text shown for a registry file error, naming the file.
QString registryErrorText(const QString& reason);
