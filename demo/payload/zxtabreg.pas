unit zxtabreg;

interface

procedure Register;

implementation

uses Classes, zxtabrel;

procedure Register;
begin
  RegisterComponents('Corvane', [TZXTabRelation]);
end;

end.
