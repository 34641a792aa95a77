// The six record arrays of the reference data. InitEPSGDataBase and FreeEPSGDataBase (with the
// per-thread table, in the service layer) create and free them through these.
#ifndef GEOXFORM_DATABASE_H
#define GEOXFORM_DATABASE_H

namespace gx {

// Creates the six arrays together or none of them, so that the systems array existing always
// means that all six exist; arrays that exist are kept.
void CreateReferenceArrays();

// Frees the six arrays, if they exist, and sets their pointers to null.
void FreeReferenceArrays();

} // namespace gx

#endif
