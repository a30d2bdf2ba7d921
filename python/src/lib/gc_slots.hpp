// Type slots shared by the module's classes.
//
// Every class takes part in the cyclic garbage collector like any other heap
// type, but its instances hold only C++ values, never a Python reference: the
// traversal visits nothing beyond what every heap-type instance visits (its
// type) and clearing has nothing to drop.
#pragma once

#include <Python.h>

namespace quorvel::py {

inline int traverse_type_only(PyObject* self, visitproc visit, void* arg) {
  Py_VISIT(Py_TYPE(self));
  return 0;
}

inline int clear_nothing(PyObject*) { return 0; }

inline PyType_Slot kValueTypeSlots[] = {
    {Py_tp_traverse, reinterpret_cast<void*>(&traverse_type_only)},
    {Py_tp_clear, reinterpret_cast<void*>(&clear_nothing)},
    {0, nullptr},
};

}  // namespace quorvel::py
