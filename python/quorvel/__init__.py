"""quorvel: equations of state of solids at high pressure and temperature.

The numerical work is done by the native engine ``quorvel._engine``; failures
are raised as the exception classes of :mod:`quorvel.errors`.
"""

from quorvel import errors

__all__ = ["errors"]
__version__ = "0.1.0"
