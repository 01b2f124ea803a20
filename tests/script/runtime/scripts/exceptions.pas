var log: string; i: Integer; a: array of Integer;

procedure Step(const what: string);
begin
  log := log + what + ' ';
end;

function Guarded(n: Integer): Integer;
begin
  Result := 0;
  try
    Step('try');
    if n = 0 then Exit;
    Result := 100 div n;
  finally
    Step('finally');
  end;
  Step('after');
end;

begin
  log := '';
  Print('guarded: ' + IntToStr(Guarded(0)) + ' ' + IntToStr(Guarded(5)) + ' / ' + log);
  try
    i := 0;
    i := 10 div i;
  except
    Print('caught: ' + ExceptionToString(ExceptionType, ExceptionParam));
  end;
  try
    RaiseException(erCustomError, 'my own error');
  except
    Print('custom: ' + ExceptionParam);
  end;
  log := '';
  try
    try
      Step('inner');
      SetLength(a, 3);
      a[3] := 1;
    finally
      Step('inner finally');
    end;
  except
    Step('outer except');
    Print(ExceptionParam);
  end;
  Print(log);
  log := '';
  try
    try
      RaiseException(erCustomError, 'again');
    except
      Step('first');
      RaiseLastException;
    end;
  except
    Step('second ' + ExceptionParam);
  end;
  Print(log);
  RaiseLastException;
  Print('nothing to raise outside an except part');
  try
    Step('x');
  finally
    Step('y');
  end;
  i := StrToInt64('12x');
end.
