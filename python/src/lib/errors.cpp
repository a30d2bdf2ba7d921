#include "lib/errors.hpp"

#include <string>

namespace quorvel::py {

namespace {

// "<qualified type name>: <str(value)>" of a failed Python call.
std::string render(const nb::python_error& error) {
  PyObject* value = error.value().ptr();
  nb::object name = nb::steal(PyType_GetQualName(Py_TYPE(value)));
  nb::object text = nb::steal(PyObject_Str(value));
  if (!name.is_valid() || !text.is_valid()) {
    PyErr_Clear();
    return error.what();
  }
  Py_ssize_t size = 0;
  const char* name_utf8 = PyUnicode_AsUTF8AndSize(name.ptr(), &size);
  std::string rendered = name_utf8 ? std::string(name_utf8, size) : std::string("?");
  const char* text_utf8 = PyUnicode_AsUTF8AndSize(text.ptr(), &size);
  rendered += ": ";
  if (text_utf8) rendered.append(text_utf8, size);
  PyErr_Clear();
  return rendered;
}

}  // namespace

nb::object quorvel_python_error(std::string_view class_name, std::string_view message, std::string_view code,
                                std::optional<std::string_view> operation, std::optional<std::string_view> field) {
  nb::gil_scoped_acquire attached;
  nb::str text(message.data(), message.size());
  try {
    nb::object errors = nb::module_::import_("quorvel.errors");
    nb::object cls = errors.attr(nb::str(class_name.data(), class_name.size()));
    nb::dict keywords;
    keywords["code"] = nb::str(code.data(), code.size());
    if (operation) keywords["operation"] = nb::str(operation->data(), operation->size());
    if (field) keywords["field"] = nb::str(field->data(), field->size());
    nb::tuple args = nb::make_tuple(text);
    PyObject* made = PyObject_Call(cls.ptr(), args.ptr(), keywords.ptr());
    if (!made) throw nb::python_error();
    return nb::steal(made);
  } catch (const nb::python_error& failure) {
    std::string fallback(message);
    fallback += " (could not construct quorvel.errors.";
    fallback += class_name;
    fallback += ": ";
    fallback += render(failure);
    fallback += ")";
    return nb::steal(PyObject_CallOneArg(PyExc_RuntimeError, nb::str(fallback.c_str()).ptr()));
  }
}

nb::object to_python_error(const EosError& error) {
  const std::string_view cls = error.is_validation() ? "EosValidationError" : "EosNumericalError";
  std::optional<std::string_view> field;
  if (error.has_name()) field = error.name();
  if (error.kind() == EosErrorKind::OutsideInvertibleRange)
    return quorvel_python_error(cls, "pressure is outside the invertible expansion range", error.code(), "eos", field);
  return quorvel_python_error(cls, error.display(), error.code(), "eos", field);
}

nb::object to_python_fit_error(const FitError& error) {
  const auto& v = error.variant();
  if (const auto* wrapped = std::get_if<FitError::Eos>(&v)) {
    const EosError& e = wrapped->error;
    std::optional<std::string_view> field;
    if (e.has_name()) field = e.name();
    return quorvel_python_error(e.is_validation() ? "FitEosValidationError" : "FitEosNumericalError", e.display(),
                                e.code(), "fit", field);
  }
  std::string_view cls = "FitValidationError";
  if (std::holds_alternative<FitError::EvaluationFailed>(v)) cls = "FitError";
  if (std::holds_alternative<FitError::SingularSystem>(v)) cls = "FitNumericalError";
  return quorvel_python_error(cls, error.message(), error.code(), "fit");
}

nb::object python_validation_error(std::string_view message) {
  return quorvel_python_error("ValidationError", message, "validation.invalid_input");
}

nb::object python_unsupported_error(std::string_view message) {
  return quorvel_python_error("UnsupportedOperationError", message, "operation.unsupported");
}

nb::object python_configuration_error(std::string_view message) {
  return quorvel_python_error("ConfigurationError", message, "configuration.invalid");
}

void raise(nb::object exception) {
  if (exception.is_valid() && PyExceptionInstance_Check(exception.ptr())) {
    PyErr_SetObject(reinterpret_cast<PyObject*>(Py_TYPE(exception.ptr())), exception.ptr());
  } else if (!PyErr_Occurred()) {
    PyErr_SetString(PyExc_TypeError, "exceptions must derive from BaseException");
  }
  throw nb::python_error();
}

}  // namespace quorvel::py
