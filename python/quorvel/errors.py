"""Exceptions raised by quorvel.

Every exception carries a machine-readable ``code`` ("eos.invalid_state",
"validation.invalid_input", ...), the ``operation`` area that raised it
("eos" or "fit", None when not given) and, where one input is to blame, its
``field`` name (None otherwise). Validation errors are also ``ValueError``s.
"""


class QuorvelError(Exception):
    """Base class of all quorvel exceptions."""

    def __init__(self, message, *, code, operation=None, field=None):
        super().__init__(message)
        self.code = code
        self.operation = operation
        self.field = field


class ValidationError(QuorvelError, ValueError):
    """An input, parameter or requested state is invalid."""


class UnsupportedOperationError(QuorvelError, NotImplementedError):
    """The model does not provide the requested quantity or operation."""


class ConfigurationError(QuorvelError, ValueError):
    """Models were combined in an inconsistent way."""


class EosValidationError(ValidationError):
    """An EOS parameter or state is invalid or cannot be reached."""


class EosNumericalError(QuorvelError, ArithmeticError):
    """An EOS evaluation failed numerically (no convergence, non-finite result)."""


class FitError(QuorvelError):
    """A fit failed."""


class FitValidationError(FitError, ValidationError):
    """A fit was given invalid input."""


class FitNumericalError(FitError, ArithmeticError):
    """A fit failed numerically (singular system)."""


class FitEosValidationError(FitValidationError):
    """An EOS evaluation inside a fit was given an invalid parameter or state."""


class FitEosNumericalError(FitNumericalError):
    """An EOS evaluation inside a fit failed numerically."""
