"""Quorvanelle's artwork generator: every bitmap of the editor drawn from code."""
