#pragma once

class KeyedArchiver;
class KeyedUnarchiver;

// The classes a document file holds beyond Foundation's own, and how each is archived: every
// coder that writes or reads a document file is set up here, so that the allow-list of classes
// a file may contain is in one place.
class DocumentArchive
{
public:
    // Registers "Measurement" and the document's other classes with the coder.
    static void registerClasses(KeyedArchiver &archiver);
    static void registerClasses(KeyedUnarchiver &unarchiver);
};
